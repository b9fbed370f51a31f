// Reads arbitrary file bytes back through read_report_line and checks what
// arrives against the text the bytes stand for: everything before the first
// Ctrl-Z, with every carriage return removed.
//
// Three passes over the same file:
//   - whole buffers: no piece longer than 999 bytes, no CR, the pieces
//     together give the text, and the end-of-file indicator set exactly when
//     a read ran into the end (as fgets does: a piece that ends with its
//     line feed, or that fills the buffer, has not looked past itself);
//   - the same with a small buffer, picked by the first byte, so that the
//     pieces straddle the 512-byte blocks at every offset;
//   - as the scanner reads, through read_planet_line: each line judged by
//     its first 999 bytes, the rest of it up to its line feed skipped.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "memory_file.h"
#include "text_input.h"

namespace {

MemoryFile memory_file;

[[noreturn]] void fail(const char *what, std::size_t offset) {
  std::fprintf(stderr, "line reader: %s (text offset %zu)\n", what, offset);
  std::abort();
}

void open_or_fail(ReportFile *file) {
  if (!open_report_file(file, memory_file.name))
    fail("the file did not open", 0);
}

// Reads the whole file with buffers of `size` bytes and compares.
void check_pieces(const std::vector<char> &text, std::size_t size) {
  ReportFile file;
  open_or_fail(&file);
  std::vector<char> line(size);
  std::size_t delivered = 0;
  std::size_t calls = 0;
  while (!file.at_end) {
    if (++calls > text.size() + 2)
      fail("the reader does not come to an end", delivered);
    std::size_t length = read_report_line(line.data(), size, &file);
    if (length == 0) {
      if (!file.at_end)
        fail("no line, but no end of file either", delivered);
      continue;
    }
    if (length > size - 1 || length > LINE_BUFFER_SIZE - 1)
      fail("a piece longer than the buffer allows", delivered);
    if (line[length] != '\0')
      fail("a piece without its terminating zero", delivered);
    if (std::memchr(line.data(), '\r', length) != nullptr)
      fail("a carriage return delivered", delivered);
    if (delivered + length > text.size() ||
        std::memcmp(line.data(), text.data() + delivered, length) != 0)
      fail("a piece differs from the text", delivered);
    const char *feed =
        static_cast<const char *>(std::memchr(line.data(), '\n', length));
    if (feed != nullptr && feed != line.data() + length - 1)
      fail("a piece runs past its line feed", delivered);
    delivered += length;
    bool looked_past = feed == nullptr && length < size - 1;
    if (file.at_end != looked_past)
      fail(file.at_end ? "end of file set too early" : "end of file missed",
           delivered);
  }
  if (delivered != text.size())
    fail("end of file before the end of the text", delivered);
  close_report_file(&file);
}

// Reads as the scanner does and expects each line of the text cut to 999.
void check_lines(const std::vector<char> &text) {
  ReportFile file;
  open_or_fail(&file);
  char line[LINE_BUFFER_SIZE];
  std::size_t start = 0; // where the next line of the text begins
  std::size_t calls = 0;
  while (!file.at_end) {
    if (++calls > text.size() + 2)
      fail("the reader does not come to an end", start);
    std::size_t length = read_planet_line(line, &file);
    if (length == 0)
      continue;
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n')
      ++end;
    if (end < text.size())
      ++end; // the line feed belongs to the line
    std::size_t expected = end - start;
    if (expected > LINE_BUFFER_SIZE - 1)
      expected = LINE_BUFFER_SIZE - 1;
    if (start >= text.size() || length != expected ||
        std::memcmp(line, text.data() + start, length) != 0)
      fail("a line differs from the text", start);
    start = end;
  }
  if (start != text.size())
    fail("lines lost at the end", start);
  close_report_file(&file);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  memory_file_create(&memory_file, "vorn_fuzz_line_reader");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  memory_file_fill(&memory_file, data, size);

  std::vector<char> text;
  for (std::size_t i = 0; i < size && data[i] != 0x1A; ++i)
    if (data[i] != '\r')
      text.push_back(static_cast<char>(data[i]));

  check_pieces(text, LINE_BUFFER_SIZE);
  check_pieces(text, size > 0 ? 2 + data[0] % 64 : 2);
  check_lines(text);
  return 0;
}
