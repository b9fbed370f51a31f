#include "output.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fixed_format.h"

namespace {

// Output is gathered in large blocks: a listing of many planets costs a
// handful of writes, not one per line.
char output_buffer[1 << 16];

bool read_error_seen = false;

#ifdef VORN_COVERAGE
// Writes out the coverage data, which gcc's runtime would write at exit.
extern "C" void __gcov_dump(void);
#endif

// Ends the run. _Exit, not exit: exit would flush standard output once more
// and try to write the same lost bytes again.
[[noreturn]] void fail_writing(int error) {
  std::fprintf(stderr, "vorn: write error: %s\n", std::strerror(error));
#ifdef VORN_COVERAGE
  // _Exit skips the exit handlers: the data goes out first. One line, as
  // gcov would count a line after the dump as never run.
  (__gcov_dump(), std::_Exit(2));
#else
  std::_Exit(2);
#endif
}

} // namespace

void start_output() {
  std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer);
}

void put_text(const char *text) {
  if (std::fputs(text, stdout) == EOF)
    fail_writing(errno);
}

void put_fixed(float value, int decimals) {
  char text[FIXED_TEXT_SIZE];
  std::size_t length = format_fixed(text, value, decimals);
  if (std::fwrite(text, 1, length, stdout) != length)
    fail_writing(errno);
}

void report_read_error(const char *name, int error) {
  // What was listed for the file goes out first, so that on a terminal the
  // message follows the block it concerns.
  if (std::fflush(stdout) != 0)
    fail_writing(errno);
  std::fprintf(stderr, "vorn: %s: read error: %s\n", name,
               std::strerror(error));
  read_error_seen = true;
}

int finish_output() {
  if (std::fflush(stdout) != 0)
    fail_writing(errno);
  return read_error_seen ? 2 : 0;
}
