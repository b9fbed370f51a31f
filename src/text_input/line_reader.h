// Planet files as text: opening them by name, reading them in 512-byte
// blocks and handing them out line by line, with carriage returns removed
// and the first Ctrl-Z as the end.
#ifndef VORN_LINE_READER_H
#define VORN_LINE_READER_H

#include <cstddef>

// A line read into a caller's buffer holds at most LINE_BUFFER_SIZE - 1
// bytes and a terminating zero byte.
constexpr std::size_t LINE_BUFFER_SIZE = 1000;

// Planet files are read in blocks of this size, as the game's own text
// streams do; the carriage-return and Ctrl-Z rules hold across block edges.
constexpr std::size_t REPORT_BLOCK_SIZE = 512;

// One open planet file. `at_end` is the end-of-file indicator that the
// scanner's loop tests; `failed` records a read error (its errno value in
// `error`), which also sets `at_end` so that the loop ends as it would at
// the end of the file.
struct ReportFile {
  int handle;
  bool at_end;
  bool failed;
  int error;
  bool saw_ctrl_z;   // everything from the first Ctrl-Z on is never delivered
  std::size_t next;  // first undelivered byte of `block`
  std::size_t count; // bytes of `block` filled by the last read
  unsigned char block[REPORT_BLOCK_SIZE];
};

// Opens the planet file `name` (upper case, as the game names its files).
// Where the file system tells case apart, `typed_name` (the same name with
// the case the user typed; null when there is none) and the other
// spellings are tried too, in the order that case_lookup.h gives. Returns
// false, with nothing printed, when nothing opens.
bool open_report_file(ReportFile *file, const char *name,
                      const char *typed_name = nullptr);
void close_report_file(ReportFile *file);

// Reads the next line, its line feed included, into `line`, removing every
// carriage return and stopping for good at the first Ctrl-Z. A line longer
// than `size - 1` bytes arrives in pieces of at most `size - 1` bytes.
// Returns the number of bytes stored before the terminating zero byte (a
// line may hold zero bytes of its own), or 0 when no line was read; the
// buffer is then not to be relied on. `size` must be at least 2.
std::size_t read_report_line(char *line, std::size_t size, ReportFile *file);

// Passes over the rest of a line, up to and including its line feed; see
// read_planet_line.
void skip_line_rest(ReportFile *file);

// Reads one line whole, as the scanner judges it: a line too long for
// LINE_BUFFER_SIZE is delivered as its first LINE_BUFFER_SIZE - 1 bytes and
// the rest of it, up to its line feed, is passed over, since the tail of a
// long line is not a planet of its own. Returns what read_report_line does.
// Inline, since the scanner calls it once a line.
inline std::size_t read_planet_line(char *line, ReportFile *file) {
  std::size_t length = read_report_line(line, LINE_BUFFER_SIZE, file);
  if (length == LINE_BUFFER_SIZE - 1 && line[length - 1] != '\n')
    skip_line_rest(file);
  return length;
}

#endif
