// Text-mode reading of planet files, the number rule, and the output
// conventions shared by the command line and the scanner.
#ifndef VORN_TEXT_INPUT_H
#define VORN_TEXT_INPUT_H

#include <cstddef>

// A line read into a caller's buffer holds at most LINE_BUFFER_SIZE - 1
// bytes and a terminating zero byte.
constexpr std::size_t LINE_BUFFER_SIZE = 1000;

// Planet files are read in blocks of this size, as the game's own text
// streams do; the carriage-return and Ctrl-Z rules hold across block edges.
constexpr std::size_t REPORT_BLOCK_SIZE = 512;

// One open planet file. `at_end` is the end-of-file indicator that the
// scanner's loop tests; `failed` records a read error, which also sets
// `at_end` so that the loop ends as it would at the end of the file.
struct ReportFile {
  int handle;
  bool at_end;
  bool failed;
  bool saw_ctrl_z;   // everything from the first Ctrl-Z on is never delivered
  std::size_t next;  // first undelivered byte of `block`
  std::size_t count; // bytes of `block` filled by the last read
  unsigned char block[REPORT_BLOCK_SIZE];
};

// Opens a regular file (or a link to one) for reading. Anything else (a
// missing file, a directory, a FIFO, a device) fails, so that a planet name
// can never block the program or make it read without end. Where the file
// system tells case apart and `name` does not exist as spelled, each path
// component is matched against the directory entries without regard to
// ASCII case. Returns false, with nothing printed, when nothing opens.
bool open_report_file(ReportFile *file, const char *name);
void close_report_file(ReportFile *file);

// Reads the next line, its line feed included, into `line`, removing every
// carriage return and stopping for good at the first Ctrl-Z. A line longer
// than `size - 1` bytes arrives in pieces of at most `size - 1` bytes.
// Returns the number of bytes stored before the terminating zero byte (a
// line may hold zero bytes of its own), or 0 when no line was read; the
// buffer is then not to be relied on. `size` must be at least 2.
std::size_t read_report_line(char *line, std::size_t size, ReportFile *file);

// Discards the rest of a line that `read_report_line` delivered only in
// part, up to and including its line feed.
void skip_report_line_rest(ReportFile *file);

// The number rule: leading white space, an optional sign, decimal digits
// with at most one point, an optional exponent; whatever follows is
// ignored, and text with no number reads as 0 (minus zero after "-").
// "+INF", "-INF", "+NAN" and "-NAN" are read only with their sign. Of the
// digits only the first 19 significant ones count. The exact value is
// rounded to a 64-bit significand and that once more to single precision,
// both times to nearest with ties to even; the bits are the same on every
// platform. `text` must be zero-terminated.
float to_single(const char *text);

// The longest text that format_fixed writes: a sign, 40 digits and a
// point, with room to spare.
constexpr std::size_t FIXED_TEXT_SIZE = 48;

// Writes `value` in fixed-point notation with `decimals` places (0 to 9),
// as "%1.<decimals>f" prints it: exact digits rounded to nearest, ties to
// even; no sign on a result that rounds to zero. From 1e19 up only the
// first 19 significant digits are exact and the rest print as 0, and the
// digits never number more than 40 (decimals are dropped to keep to that).
// Infinities print as "+INF"/"-INF", NaNs as "+NAN"/"-NAN". A float widens
// to double exactly, so this is also what the widened value prints as.
// Returns the length written to `out`, which holds FIXED_TEXT_SIZE bytes;
// the text is zero-terminated.
std::size_t format_fixed(char *out, float value, int decimals);

// Output to standard output. Text is written as data, never as a format.
// On Windows standard output is a text stream, so each line feed goes out
// as a carriage return and a line feed.
void start_output();
void put_text(const char *text);
void put_fixed(float value, int decimals);
void finish_output();

#endif
