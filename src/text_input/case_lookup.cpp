#include "case_lookup.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Opens `name` for reading if it is a regular file or a link to one.
// Anything else (a missing file, a directory, a FIFO, a device) fails, so
// that a planet name can never block the program or make it read without
// end. Returns the handle, or -1 with the reason in `*reason`: the errno
// value of the call that failed, EISDIR for a directory and ENXIO for any
// other file that is not regular.
#ifdef _WIN32

// The 64-bit stat: with the 32-bit one a file of 2 GiB or more fails to
// stat (its size overflows) and would be passed over as not regular.
int open_regular(const char *name, int *reason) {
  int handle = _open(name, _O_RDONLY | _O_BINARY);
  if (handle < 0) {
    *reason = errno;
    return -1;
  }
  struct _stati64 info;
  if (_fstati64(handle, &info) != 0) {
    *reason = errno;
    _close(handle);
    return -1;
  }
  if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    *reason = (info.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : ENXIO;
    _close(handle);
    return -1;
  }
  return handle;
}

#else

// O_NONBLOCK keeps open() from waiting for a writer when the name is a FIFO;
// fstat then refuses everything that is not a regular file, so a FIFO, a
// terminal or /dev/zero is never read.
int open_regular(const char *name, int *reason) {
  int handle = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (handle < 0) {
    *reason = errno;
    return -1;
  }
  struct stat info;
  // GCOVR_EXCL_START: fstat on a descriptor that open() has just given
  // fails only on a kernel or file system fault, which no test can cause.
  if (fstat(handle, &info) != 0) {
    *reason = errno;
    close(handle);
    return -1;
  }
  // GCOVR_EXCL_STOP
  if (!S_ISREG(info.st_mode)) {
    *reason = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
    close(handle);
    return -1;
  }
  fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK);
  return handle;
}

#endif

unsigned char upper_ascii(unsigned char byte) {
  return byte >= 'a' && byte <= 'z'
             ? static_cast<unsigned char>(byte - 'a' + 'A')
             : byte;
}

} // namespace

#ifdef _WIN32

void upper_case_ascii_in_code_page(char *text, unsigned code_page) {
  for (unsigned char *at = reinterpret_cast<unsigned char *>(text); *at != 0;
       ++at) {
    if (IsDBCSLeadByteEx(code_page, *at) && at[1] != 0) {
      ++at; // the trail byte is part of the character, not a letter
      continue;
    }
    *at = upper_ascii(*at);
  }
}

void upper_case_ascii(char *text) {
  upper_case_ascii_in_code_page(text, CP_ACP);
}

int look_up_report_file(const char *name, const char *typed_name) {
  (void)typed_name; // the file system ignores case
  int reason;
  return open_regular(name, &reason);
}

#else

void upper_case_ascii(char *text) {
  for (unsigned char *at = reinterpret_cast<unsigned char *>(text); *at != 0;
       ++at)
    *at = upper_ascii(*at);
}

namespace {

// A hostile tree (directories nested deep, each holding many names that
// differ only in case) would make the walk's search take time exponential
// in the depth of the path. Every listing of a directory counts against a
// budget of one per component of the path, which a path without case
// clashes never exceeds, plus this many for the clashes; once it is spent
// the walk gives up as if nothing matched. Each listing yields at most one
// spelling to try, so a lookup opens at most that many directories and
// files beyond the first spellings. No real game comes anywhere near it.
constexpr int DIRECTORY_PASSES_MAX = 256;

// Longer than any name the program builds (those stay below 256 bytes).
constexpr std::size_t WALK_PATH_SIZE = 4096;

// The longest component of a name below 256 bytes, and a file system's
// longest name of one component.
constexpr std::size_t COMPONENT_SIZE_MAX = 255;

struct CaseWalk {
  char path[WALK_PATH_SIZE]; // the spelling being tried
  const char *typed;         // the preferred spelling, of the same length
  int passes_left;
  bool found_unopenable; // a file is there but can't be opened: stop
};

// Errors that say for sure that no regular file is there.
bool another_spelling_may_help(int reason) {
  return reason == ENOENT || reason == ENOTDIR || reason == EISDIR ||
         reason == ENXIO;
}

// Opens one spelling of the whole path. When it fails, *unopenable tells
// whether the search should end here: only when the path leads to a regular
// file that is there and can't be opened (no access to the file itself, no
// descriptor left), for that is the file asked for. Any other error (a
// directory on the way that can't be entered, a loop of links, a link
// whose target has a name too long) concerns the way, not the file, and
// another spelling may still lead to it. stat() tells the two apart: it
// needs no access to the file itself, only to the way there. It runs only
// after such an error, never when a spelling opens or is simply missing.
// Should the tree change between the two calls, the answer is still one
// that the tree gave a moment before.
int open_spelling(const char *path, bool *unopenable) {
  int reason;
  int handle = open_regular(path, &reason);
  if (handle < 0 && !another_spelling_may_help(reason)) {
    struct stat info;
    *unopenable = stat(path, &info) == 0 && S_ISREG(info.st_mode);
  }
  return handle;
}

bool same_ignoring_case(const char *a, const char *b, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (upper_ascii(static_cast<unsigned char>(a[i])) !=
        upper_ascii(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Whether spelling a comes before b in the walk's order: the typed one
// first, then byte order.
bool comes_before(const char *a, const char *b, const char *typed,
                  std::size_t length) {
  if (std::memcmp(b, typed, length) == 0)
    return false;
  return std::memcmp(a, typed, length) == 0 || std::memcmp(a, b, length) < 0;
}

// Sets the component path[start, start + length) to its next spelling, in
// the order: the typed one, then the other entries of the directory
// path[0, start) that differ from it only in ASCII case, in byte order.
// `first` asks for the first spelling; otherwise the component holds the
// one before. One pass over the directory also tells, in *more, whether
// yet another spelling follows, so that a directory with a single match is
// listed once, however often the walk comes back to it. A directory that
// can't be listed although it is there (no read access, say) may still be
// passed through: its typed spelling is then the only one. Returns false
// when there is no next spelling, or the budget is spent.
bool next_spelling(CaseWalk *walk, std::size_t start, std::size_t length,
                   bool first, bool *more) {
  *more = false;
  if (walk->passes_left == 0)
    return false;
  --walk->passes_left;
  char *path = walk->path;
  char *current = path + start;
  const char *typed = walk->typed + start;

  char saved = path[start];
  path[start] = '\0';
  DIR *dir = opendir(start == 0 ? "." : path);
  path[start] = saved;
  if (dir == nullptr) {
    if (!first || errno == ENOENT || errno == ENOTDIR)
      return false;
    std::memcpy(current, typed, length);
    return true;
  }
  char best[COMPONENT_SIZE_MAX];
  int found = 0;
  while (const dirent *entry = readdir(dir)) {
    const char *candidate = entry->d_name;
    if (std::strlen(candidate) != length ||
        !same_ignoring_case(candidate, typed, length) ||
        (!first && !comes_before(current, candidate, typed, length)))
      continue;
    if (found == 0 || comes_before(candidate, best, typed, length))
      std::memcpy(best, candidate, length);
    ++found;
  }
  closedir(dir);
  if (found == 0)
    return false;
  std::memcpy(current, best, length);
  *more = found > 1;
  return true;
}

// Opens the path from the component at `start` on (after any slashes),
// trying each spelling of that component with every spelling of the rest.
// Returns the handle, or -1.
int walk_from(CaseWalk *walk, std::size_t start) {
  char *path = walk->path;
  while (path[start] == '/')
    ++start;
  std::size_t end = start;
  while (path[end] != '/' && path[end] != '\0')
    ++end;
  std::size_t after = end;
  while (path[after] == '/')
    ++after;
  bool last = path[after] == '\0';
  std::size_t length = end - start;
  // "." and ".." have no other spelling. No component is empty: the slashes
  // are skipped, and a planet file name ends in its own component.
  bool fixed = (length == 1 && path[start] == '.') ||
               (length == 2 && path[start] == '.' && path[start + 1] == '.');

  bool more = false;
  for (bool first = true; first || more; first = false) {
    if (!fixed && !next_spelling(walk, start, length, first, &more))
      return -1;
    int handle = last ? open_spelling(path, &walk->found_unopenable)
                      : walk_from(walk, end);
    if (handle >= 0 || walk->found_unopenable)
      return handle;
  }
  return -1;
}

// Components of `path`, to size the budget.
int component_count(const char *path) {
  int count = 0;
  for (const char *at = path; *at != '\0'; ++at)
    if (*at != '/' && (at == path || at[-1] == '/'))
      ++count;
  return count;
}

} // namespace

int look_up_report_file(const char *name, const char *typed_name) {
  bool unopenable = false;
  int handle = open_spelling(name, &unopenable);
  if (handle >= 0 || unopenable)
    return handle;
  // The typed name differs from `name` at least in the suffix's lower-case p.
  if (typed_name != nullptr) {
    handle = open_spelling(typed_name, &unopenable);
    if (handle >= 0 || unopenable)
      return handle;
  }

  const char *typed = typed_name != nullptr ? typed_name : name;
  std::size_t length = std::strlen(typed);
  CaseWalk walk;
  std::memcpy(walk.path, typed, length + 1);
  walk.typed = typed;
  walk.passes_left = DIRECTORY_PASSES_MAX + component_count(typed);
  walk.found_unopenable = false;
  return walk_from(&walk, 0);
}

#endif
