#include <gtest/gtest.h>

#include <string>

#include "report_name.h"
#include "text_input.h"

// The name as typed keeps its case; the name tried first and printed is
// upper case in its ASCII letters only, directory part included; a name
// that would not fit is not built at all, rather than built short.
TEST(ReportName, BuildsTheTypedAndTheUpperCaseName) {
  char name[NAME_BUFFER_SIZE];
  char typed[NAME_BUFFER_SIZE];
  ASSERT_TRUE(report_file_name(name, typed, "saves/Duel", 16));
  EXPECT_STREQ(name, "SAVES/DUEL.P16");
  EXPECT_STREQ(typed, "saves/Duel.p16");
  ASSERT_TRUE(report_file_name(name, typed, "caf\xC3\xA9/x.old", 3));
  EXPECT_STREQ(name, "CAF\xC3\xA9/X.OLD.P3");

  const std::string longest(251, 'g'); // 251 + ".p16" fills 255 bytes
  EXPECT_TRUE(report_file_name(name, typed, longest.c_str(), 16));
  EXPECT_EQ(std::string(name), std::string(251, 'G') + ".P16");
  EXPECT_FALSE(report_file_name(name, typed, (longest + "g").c_str(), 16));
  EXPECT_TRUE(report_file_name(name, typed, (longest + "g").c_str(), 9));
}

#ifdef _WIN32
// In Shift-JIS (code page 932) the trail byte of a double-byte character
// may be an ASCII letter: 0x83 0x61 is one character, and upper-casing its
// 'a' would name another folder. A lead byte with no trail byte is left
// as it is, and the letters after a character still change.
TEST(ReportName, LeavesDoubleByteCharactersAlone) {
  char text[] = "\x83\x61z/\x83\x7A\x83\x61.p1\x83";
  upper_case_ascii_in_code_page(text, 932);
  EXPECT_STREQ(text, "\x83\x61Z/\x83\x7A\x83\x61.P1\x83");
}
#endif
