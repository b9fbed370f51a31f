#include "line_reader.h"

#include <cerrno>
#include <cstring>

#include "case_lookup.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr unsigned char CTRL_Z = 0x1A;

} // namespace

#ifdef _WIN32

namespace {

long read_block(int handle, unsigned char *block, std::size_t size) {
  return _read(handle, block, static_cast<unsigned>(size));
}

void close_handle(int handle) {
  _close(handle);
}

} // namespace

#else

namespace {

long read_block(int handle, unsigned char *block, std::size_t size) {
  for (;;) {
    ssize_t got = read(handle, block, size);
    // On a local file system a signal doesn't interrupt the read of a
    // regular file, the only kind opened here: no test can cause EINTR.
    if (got >= 0 || errno != EINTR) // GCOVR_EXCL_BR_LINE
      return static_cast<long>(got);
  }
}

void close_handle(int handle) {
  close(handle);
}

} // namespace

#endif

bool open_report_file(ReportFile *file, const char *name,
                      const char *typed_name) {
  int handle = look_up_report_file(name, typed_name);
  if (handle < 0)
    return false;
  file->handle = handle;
  file->at_end = false;
  file->failed = false;
  file->error = 0;
  file->saw_ctrl_z = false;
  file->next = 0;
  file->count = 0;
  return true;
}

void close_report_file(ReportFile *file) {
  close_handle(file->handle);
  file->handle = -1;
}

namespace {

// Brings in the next block once the current one is used up. Kept out of
// line: it runs once a block, and next_stretch, which calls it, is then
// small enough to be inlined in the per-line loops. Returns false
// at the end of the file (or of its text, at a Ctrl-Z) and on a read error,
// with the indicators set.
[[gnu::noinline]] bool fill_block(ReportFile *file) {
  for (;;) {
    if (file->saw_ctrl_z) {
      file->at_end = true;
      return false;
    }
    long got = read_block(file->handle, file->block, REPORT_BLOCK_SIZE);
    if (got <= 0) {
      if (got < 0) {
        file->failed = true;
        file->error = errno;
      }
      file->at_end = true;
      return false;
    }
    std::size_t count = static_cast<std::size_t>(got);
    // The block is cut at its first Ctrl-Z, and no later read is made: the
    // text ends there even when the Ctrl-Z is the last byte of a block.
    const void *stop = std::memchr(file->block, CTRL_Z, count);
    if (stop != nullptr) {
      count = static_cast<std::size_t>(
          static_cast<const unsigned char *>(stop) - file->block);
      file->saw_ctrl_z = true;
    }
    file->next = 0;
    file->count = count;
    if (count > 0)
      return true;
  }
}

// The next stretch of the current line in the block: the undelivered bytes
// from file->next up to and including a line feed, at most `limit` of them.
// The block is refilled first when it is used up. Returns the stretch's
// length, 0 at the end of the file; `*complete` tells whether it ends with
// the line's line feed. Nothing is consumed: the caller moves file->next.
std::size_t next_stretch(ReportFile *file, std::size_t limit, bool *complete) {
  if (file->next == file->count && !fill_block(file))
    return 0;
  const unsigned char *from = file->block + file->next;
  std::size_t span = file->count - file->next;
  if (span > limit)
    span = limit;
  const void *feed = std::memchr(from, '\n', span);
  *complete = feed != nullptr;
  if (feed != nullptr)
    span = static_cast<std::size_t>(static_cast<const unsigned char *>(feed) -
                                    from) +
           1;
  return span;
}

} // namespace

std::size_t read_report_line(char *line, std::size_t size, ReportFile *file) {
  std::size_t room = size - 1;
  std::size_t length = 0;
  bool complete = false;
  while (!complete && length < room) {
    // Carriage returns are dropped as they are copied, so a stretch may
    // deliver fewer bytes than it consumes; the loop then takes more.
    std::size_t span = next_stretch(file, room - length, &complete);
    if (span == 0)
      break;
    // The bytes between carriage returns go over in whole runs: a CR LF
    // line costs two runs, not a test per byte. The runs hold no more than
    // `span` bytes in all, so they fit in the room left.
    const unsigned char *run = file->block + file->next;
    const unsigned char *span_end = run + span;
    while (run < span_end) {
      const void *cr =
          std::memchr(run, '\r', static_cast<std::size_t>(span_end - run));
      const unsigned char *run_end =
          cr != nullptr ? static_cast<const unsigned char *>(cr) : span_end;
      std::size_t run_length = static_cast<std::size_t>(run_end - run);
      std::memcpy(line + length, run, run_length);
      length += run_length;
      run = run_end + (cr != nullptr); // past the carriage return, if any
    }
    file->next += span;
  }
  if (length == 0 || file->failed)
    return 0;
  line[length] = '\0';
  return length;
}

void skip_line_rest(ReportFile *file) {
  bool complete = false;
  while (!complete) {
    std::size_t span = next_stretch(file, REPORT_BLOCK_SIZE, &complete);
    if (span == 0)
      return;
    file->next += span;
  }
}
