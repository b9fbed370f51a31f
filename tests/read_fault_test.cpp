// The block reader under read errors, in the manner of SQLite's I/O-error
// tests: the program is linked with --wrap=read, and __wrap_read fails the
// n-th read of the planet file with EIO, for n = 1, 2, ... until a run
// reads the whole file without meeting the failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "text_input.h"

extern "C" ssize_t __real_read(int handle, void *buffer, size_t size);

namespace {

int watched_handle = -1; // the planet file; every other read passes
int reads_left = 0;      // the read that fails is the one that finds 1 here

} // namespace

extern "C" ssize_t __wrap_read(int handle, void *buffer, size_t size) {
  if (handle == watched_handle && reads_left > 0 && --reads_left == 0) {
    errno = EIO;
    return -1;
  }
  return __real_read(handle, buffer, size);
}

// Lines of many lengths with CR LF ends, over several 512-byte blocks, some
// ending right at a block edge. A read error delivers exactly the lines
// whose bytes were all read before it, and nothing after them: the line it
// cuts through is not delivered in part.
TEST(ReadFault, DeliversOnlyTheLinesReadBeforeTheError) {
  std::string bytes;
  std::vector<std::string> lines; // as delivered, without CR
  std::vector<std::size_t> ends;  // offset just past each line's line feed
  for (int i = 0; bytes.size() < 3 * REPORT_BLOCK_SIZE; ++i) {
    std::string text(static_cast<std::size_t>(i * 37 % 200),
                     static_cast<char>('a' + i % 26));
    if (bytes.size() + text.size() + 2 < REPORT_BLOCK_SIZE &&
        bytes.size() + text.size() + 200 > REPORT_BLOCK_SIZE)
      text.resize(REPORT_BLOCK_SIZE - bytes.size() - 2); // ends at the edge
    bytes += text + "\r\n";
    lines.push_back(text + "\n");
    ends.push_back(bytes.size());
  }
  char path[] = "/tmp/vorn-read-fault-XXXXXX";
  int made = mkstemp(path);
  ASSERT_GE(made, 0);
  ASSERT_EQ(write(made, bytes.data(), bytes.size()),
            static_cast<ssize_t>(bytes.size()));
  close(made);

  bool whole_file_read = false;
  int injected = 0;
  for (int failing = 1; !whole_file_read; ++failing) {
    SCOPED_TRACE("read " + std::to_string(failing) + " fails");
    ASSERT_LT(failing, 20);
    ReportFile file;
    ASSERT_TRUE(open_report_file(&file, path));
    watched_handle = file.handle;
    reads_left = failing;
    std::size_t read_bytes =
        static_cast<std::size_t>(failing - 1) * REPORT_BLOCK_SIZE;
    std::size_t delivered = 0;
    char line[LINE_BUFFER_SIZE];
    while (!file.at_end) {
      std::size_t length = read_report_line(line, sizeof line, &file);
      if (length == 0)
        continue;
      ASSERT_LT(delivered, lines.size());
      EXPECT_EQ(std::string(line, length), lines[delivered]);
      ++delivered;
    }
    whole_file_read = reads_left > 0; // the failing read was never made
    watched_handle = -1;
    if (whole_file_read) {
      EXPECT_FALSE(file.failed);
      EXPECT_EQ(delivered, lines.size());
    } else {
      ++injected;
      EXPECT_TRUE(file.failed);
      EXPECT_EQ(file.error, EIO);
      std::size_t complete = 0;
      while (complete < ends.size() && ends[complete] <= read_bytes)
        ++complete;
      EXPECT_EQ(delivered, complete);
      EXPECT_EQ(read_report_line(line, sizeof line, &file), 0u);
    }
    close_report_file(&file);
  }
  std::remove(path);
  // Three blocks and more take at least three reads, each of which must
  // have failed once; fewer means read() was never intercepted.
  EXPECT_GE(injected, 3);
}
