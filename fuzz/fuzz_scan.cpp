// Runs the whole scanner over arbitrary file contents and limits and
// compares everything it prints with the listing of a reference scanner
// below: a plain reading of the rules, one byte at a time, that shares
// nothing with the program but to_single and format_fixed (each checked
// against its own reference elsewhere). Any difference aborts.
//
// The first byte picks the limits, so that planets are listed often enough
// to reach the printer:
//   0: everything from -INF to +INF passes;
//   1: the next 24 bytes are the six limits' bits (NaNs and infinities too);
//   2: the first line holds six limits as text, read with to_single.
// The rest is the planet file.
//
// Standard output is a memory file for the whole run: the scanner's stdio
// output lands there, and is read back after each input. Writes to it never
// fail.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "memory_file.h"
#include "planet_file.h"
#include "text_input.h"

namespace {

MemoryFile memory_file;
int captured_output = -1; // standard output's file, opened on fd 1 as well

// Reads up to six space-separated words of `text[0, size)` as limits.
void limits_from_text(float *limits, const std::uint8_t *text,
                      std::size_t size) {
  char word[64];
  std::size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    std::size_t length = 0;
    while (at < size && text[at] != ' ' && text[at] != '\n') {
      if (length < sizeof word - 1)
        word[length++] = static_cast<char>(text[at]);
      ++at;
    }
    if (at < size)
      ++at;
    word[length] = '\0';
    limits[i] = to_single(word);
  }
}

// ---------------------------------------------------------------------------
// The reference scanner
// ---------------------------------------------------------------------------

constexpr std::size_t PIECE_MAX = 999; // a line buffer of 1000 bytes
constexpr unsigned char CTRL_Z = 0x1A;

// The bytes a planet file delivers when read as text: carriage returns are
// removed wherever they stand, and the first Ctrl-Z ends the file.
std::string text_of(const std::uint8_t *data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size && data[i] != CTRL_Z; ++i)
    if (data[i] != '\r')
      text += static_cast<char>(data[i]);
  return text;
}

// The next line of `text` from `*at`: up to and including its line feed,
// but at most PIECE_MAX bytes. A longer line is judged by its first
// PIECE_MAX bytes, and the rest of it, up to and including its line feed, is
// passed over. False at the end of the text.
bool next_line(const std::string &text, std::size_t *at, std::string *line) {
  if (*at == text.size())
    return false;
  line->clear();
  while (*at < text.size() && line->size() < PIECE_MAX) {
    char byte = text[(*at)++];
    *line += byte;
    if (byte == '\n')
      return true;
  }
  if (line->size() == PIECE_MAX) {
    while (*at < text.size())
      if (text[(*at)++] == '\n')
        break;
  }
  return true;
}

// Column `column` of `line`: what stands after the column-th tab, up to the
// next tab or the end of the line. For this purpose the line ends at its
// first zero byte; a column beyond the end is empty.
std::string field_of(const std::string &line, int column) {
  std::string field;
  int tabs = 0;
  for (char byte : line) {
    if (byte == '\0')
      break;
    if (byte == '\t') {
      if (tabs == column)
        break;
      ++tabs;
    } else if (tabs == column) {
      field += byte;
    }
  }
  return field;
}

bool has_tab(const std::string &line) {
  for (char byte : line) {
    if (byte == '\0')
      return false;
    if (byte == '\t')
      return true;
  }
  return false;
}

std::string fixed(float value, int decimals) {
  char text[FIXED_TEXT_SIZE];
  format_fixed(text, value, decimals);
  return text;
}

// What scan_report_file prints for a file named `name` that holds `data`.
std::string reference_listing(const char *name, const std::uint8_t *data,
                              std::size_t size, const float *limits) {
  std::string listing = std::string("Processing file ") + name + "\n\n";
  std::string text = text_of(data, size);
  std::size_t at = 0;
  std::string line;
  // With no header at all the file counts as one with only its header.
  if (next_line(text, &at, &line) && field_of(line, 20) != "Grav")
    return listing + "  Not a new (v2.7i+ or v2.6i+) Kelvo planet file!\n\n";
  while (next_line(text, &at, &line)) {
    if (!has_tab(line)) // a blank line or stray text is no planet
      continue;
    // Each value is read only when the ones before it are within their
    // limits; both ends are inclusive, and a NaN is never within.
    float grav = to_single(field_of(line, 20).c_str());
    if (!(limits[0] <= grav && grav <= limits[1]))
      continue;
    float temp = to_single(field_of(line, 21).c_str());
    if (!(limits[2] <= temp && temp <= limits[3]))
      continue;
    float rad = to_single(field_of(line, 22).c_str());
    if (!(limits[4] <= rad && rad <= limits[5]))
      continue;
    listing += "  \"" + field_of(line, 0) +
               "\" is inhabitable!\t(Grav=" + fixed(grav, 2) +
               "g, Temp=" + fixed(temp, 0) + "C, Rad=" + fixed(rad, 0) +
               "mR)\n";
  }
  return listing + "\n";
}

// ---------------------------------------------------------------------------
// Comparing
// ---------------------------------------------------------------------------

// Everything written to standard output since the last call (the first
// call: since the start), which then starts afresh.
std::string take_output() {
  std::fflush(stdout);
  off_t size = lseek(captured_output, 0, SEEK_CUR);
  if (size < 0) {
    std::perror("captured output");
    std::abort();
  }
  std::string output(static_cast<std::size_t>(size), '\0');
  if (pread(captured_output, &output[0], output.size(), 0) != size) {
    std::perror("captured output");
    std::abort();
  }
  if (ftruncate(captured_output, 0) != 0 ||
      lseek(captured_output, 0, SEEK_SET) != 0) {
    std::perror("captured output");
    std::abort();
  }
  return output;
}

// Prints the line of `listing` that holds byte `at`, escaped.
void show_line(const char *what, const std::string &listing, std::size_t at) {
  std::size_t start = listing.rfind('\n', at == 0 ? 0 : at - 1);
  start = start == std::string::npos || at == 0 ? 0 : start + 1;
  std::size_t end = listing.find('\n', at);
  end = end == std::string::npos ? listing.size() : end + 1;
  std::fprintf(stderr, "%s: \"", what);
  for (std::size_t i = start; i < end; ++i) {
    auto byte = static_cast<unsigned char>(listing[i]);
    if (byte == '\n')
      std::fputs("\\n", stderr);
    else if (byte == '\t')
      std::fputs("\\t", stderr);
    else if (byte == '"' || byte == '\\')
      std::fprintf(stderr, "\\%c", byte);
    else if (byte < 0x20 || byte >= 0x7F)
      std::fprintf(stderr, "\\x%02X", byte);
    else
      std::fputc(byte, stderr);
  }
  std::fputs("\"\n", stderr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  captured_output = memfd_create("vorn_fuzz_scan_output", 0);
  std::fflush(stdout);
  if (captured_output < 0 || dup2(captured_output, STDOUT_FILENO) < 0) {
    std::perror("standard output to memory");
    std::abort();
  }
  memory_file_create(&memory_file, "vorn_fuzz_scan");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  if (size == 0)
    return 0;
  float limits[6] = {-INFINITY, INFINITY,  -INFINITY,
                     INFINITY,  -INFINITY, INFINITY};
  std::size_t skip = 1;
  if (data[0] % 3 == 1 && size >= 25) {
    std::memcpy(limits, data + 1, sizeof limits);
    skip = 25;
  } else if (data[0] % 3 == 2) {
    const void *feed = std::memchr(data + 1, '\n', size - 1);
    skip = feed != nullptr
               ? static_cast<std::size_t>(
                     static_cast<const std::uint8_t *>(feed) - data) +
                     1
               : size;
    limits_from_text(limits, data + 1, skip - 1);
  }
  const std::uint8_t *file = data + skip;
  std::size_t file_size = size > skip ? size - skip : 0;

  memory_file_fill(&memory_file, file, file_size);
  EnvironmentLimits environment = {limits[0], limits[1], limits[2],
                                   limits[3], limits[4], limits[5]};
  scan_report_file(memory_file.name, environment);
  std::string actual = take_output();
  std::string expected =
      reference_listing(memory_file.name, file, file_size, limits);

  if (actual != expected) {
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() &&
           actual[at] == expected[at])
      ++at;
    std::fprintf(stderr,
                 "scan_report_file printed %zu bytes, the reference %zu; "
                 "first difference at byte %zu\n",
                 actual.size(), expected.size(), at);
    show_line("scanner  ", actual, at);
    show_line("reference", expected, at);
    std::abort();
  }
  return 0;
}
