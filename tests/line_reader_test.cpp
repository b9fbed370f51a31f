#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "text_input.h"

namespace fs = std::filesystem;

namespace {

// Each test gets a fresh directory: CTest runs tests in parallel processes.
class LineReader : public ::testing::Test {
protected:
  void SetUp() override {
    std::random_device seed;
    dir = fs::temp_directory_path() /
          ("vorn-unit-" + std::to_string(seed()) + std::to_string(seed()));
    fs::create_directory(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Writes `bytes` to a file of its own and opens it as a planet file.
  bool open_bytes(const std::string &bytes, ReportFile *file) {
    fs::path path = dir / ("case" + std::to_string(++files));
    write_file(path, bytes);
    return open_report_file(file, path.string().c_str());
  }

  static void write_file(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  fs::path dir;
  int files = 0;
};

// The next line as delivered, zero bytes included; "" when none was read.
std::string next_line(ReportFile *file) {
  char line[LINE_BUFFER_SIZE];
  std::size_t length = read_report_line(line, sizeof line, file);
  return std::string(line, length);
}

// The first line of the named file, or "(not opened)".
std::string first_line(const std::string &name) {
  ReportFile file;
  if (!open_report_file(&file, name.c_str()))
    return "(not opened)";
  std::string line = next_line(&file);
  close_report_file(&file);
  return line;
}

struct LineCase {
  const char *what;
  std::string bytes;
  std::vector<std::string> lines;
};

} // namespace

// Carriage returns vanish wherever they stand, the first Ctrl-Z ends the text
// even at a block edge, and long lines arrive in pieces of 999 bytes. A line
// delivered with at_end already set is marked E: the scanner's loop tests
// that flag alone, so a last line without a line feed must come with it.
TEST_F(LineReader, DeliversLinesAcrossBlocks) {
  const std::string W999(999, 'w');
  const std::string Z = "\x1A"; // Ctrl-Z
  const std::string E = "<at end>";
  const LineCase cases[] = {
      {"LF", "a\tb\nc\n", {"a\tb\n", "c\n"}},
      {"CRLF", "a\tb\r\nc\r\n", {"a\tb\n", "c\n"}},
      {"stray CR", "1\r5\n\r\r\n", {"15\n", "\n"}},
      {"CRs do not count to 999", std::string(1200, '\r') + "x\r\n", {"x\n"}},
      {"CR LF as bytes 512 and 513",
       std::string(511, 'x') + "\r\ny\n",
       {std::string(511, 'x') + "\n", "y\n"}},
      {"Ctrl-Z inside", "a\nb" + Z + "c\nd\n", {"a\n", "b" + E}},
      {"Ctrl-Z as byte 512",
       std::string(99, 'p') + "\n" + std::string(411, 'q') + Z + "r\n",
       {std::string(99, 'p') + "\n", std::string(411, 'q') + E}},
      {"Ctrl-Z as byte 513 after LF",
       std::string(511, 'q') + "\n" + Z + "r\n",
       {std::string(511, 'q') + "\n"}},
      {"Ctrl-Z as byte 513 in a line",
       std::string(512, 'q') + Z + "r\n",
       {std::string(512, 'q') + E}},
      {"Ctrl-Z after CR", "a\r" + Z + "\nb\n", {"a" + E}},
      {"999 bytes and LF", W999 + "\n", {W999, "\n"}},
      {"1500 bytes and LF",
       std::string(1500, 'w') + "\n",
       {W999, std::string(501, 'w') + "\n"}},
      {"no final LF", "a\nb", {"a\n", "b" + E}},
      {"empty file", "", {}},
      {"zero bytes", std::string("a\0b\0\n", 5), {std::string("a\0b\0\n", 5)}},
  };
  for (const LineCase &c : cases) {
    SCOPED_TRACE(c.what);
    ReportFile file;
    ASSERT_TRUE(open_bytes(c.bytes, &file));
    std::vector<std::string> lines;
    for (std::string line;
         lines.size() < 10 && !(line = next_line(&file)).empty();)
      lines.push_back(file.at_end ? line + E : line);
    EXPECT_EQ(lines, c.lines);
    EXPECT_TRUE(file.at_end);
    EXPECT_EQ(next_line(&file), ""); // and it stays at the end
    close_report_file(&file);
  }
}

// read_planet_line judges a long line by its first 999 bytes and passes over
// the rest of it across blocks and carriage returns, stopping at the end of
// the file when no line feed comes.
TEST_F(LineReader, SkipsTheRestOfLongLines) {
  const LineCase cases[] = {
      {"999 bytes and LF", std::string(999, 'w') + "\nnext\n", {"next\n"}},
      {"1500 bytes", std::string(1500, 'w') + "\r\nnext\r\n", {"next\n"}},
      {"3000 bytes", std::string(3000, 'w') + "\nnext\n", {"next\n"}},
      {"no LF", std::string(1500, 'w'), {}},
      {"short lines stay whole", "ab\ncd\n", {"cd\n"}},
  };
  for (const LineCase &c : cases) {
    SCOPED_TRACE(c.what);
    ReportFile file;
    ASSERT_TRUE(open_bytes(c.bytes, &file));
    char line[LINE_BUFFER_SIZE];
    std::size_t length = read_planet_line(line, &file);
    EXPECT_EQ(std::string(line, length),
              c.bytes.substr(0, std::min<std::size_t>(length, 999)));
    for (const std::string &expected : c.lines) {
      length = read_planet_line(line, &file);
      EXPECT_EQ(std::string(line, length), expected);
    }
    EXPECT_EQ(read_planet_line(line, &file), 0u);
    EXPECT_TRUE(file.at_end);
    close_report_file(&file);
  }
}

// Only regular files open: a directory or a FIFO would fail or block later.
TEST_F(LineReader, OpensOnlyRegularFiles) {
  write_file(dir / "planets.p1", "x\n");
  EXPECT_EQ(first_line((dir / "planets.p1").string()), "x\n");
  EXPECT_EQ(first_line(dir.string()), "(not opened)");
  EXPECT_EQ(first_line((dir / "missing.p1").string()), "(not opened)");
#ifndef _WIN32
#ifndef __EMSCRIPTEN__
  // Emscripten's mkfifo makes a regular file under Node.js; the end-to-end
  // case hostile.fifo gives that build a real FIFO.
  ASSERT_EQ(mkfifo((dir / "fifo.p1").c_str(), 0600), 0);
  EXPECT_EQ(first_line((dir / "fifo.p1").string()), "(not opened)");
#endif
  fs::create_symlink(dir / "planets.p1", dir / "link.p1");
  fs::create_symlink(dir / "gone.p1", dir / "dangling.p1");
  EXPECT_EQ(first_line((dir / "link.p1").string()), "x\n");
  EXPECT_EQ(first_line((dir / "dangling.p1").string()), "(not opened)");
#endif
}

#ifndef _WIN32
// The game asks for upper-case names; on a file system that tells case apart
// each component is looked up ignoring case, preferring an exact match and
// else the first spelling in byte order.
TEST_F(LineReader, FindsNamesWhateverTheirCase) {
  fs::create_directory(dir / "games");
  write_file(dir / "games" / "duel.p1", "duel\n");
  write_file(dir / "games" / "Duel.p3", "capital\n");
  write_file(dir / "games" / "duel.p3", "small\n");
  fs::create_directory(dir / "Data");
  fs::create_directory(dir / "DATA");
  write_file(dir / "Data" / "x.p1", "data\n");
  const std::string base = dir.string() + "/";
  EXPECT_EQ(first_line(base + "GAMES/DUEL.P1"), "duel\n");
  EXPECT_EQ(first_line(base + "GAMES/DUEL.P3"), "capital\n");
  EXPECT_EQ(first_line(base + "games/duel.p3"), "small\n");
  EXPECT_EQ(first_line(base + "Data/X.P1"), "data\n");
  EXPECT_EQ(first_line(base + "GAMES/DUEL.P2"), "(not opened)");

  const fs::path saved = fs::current_path();
  fs::current_path(dir / "games");
  EXPECT_EQ(first_line("DUEL.P1"), "duel\n");
  EXPECT_EQ(first_line("./DUEL.P1"), "duel\n");
  EXPECT_EQ(first_line("../GAMES/DUEL.P1"), "duel\n");
  EXPECT_EQ(first_line(".././GAMES/./DUEL.P1"), "duel\n");
  fs::current_path(saved);
}
#endif
