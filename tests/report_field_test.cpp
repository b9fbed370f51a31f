#include <gtest/gtest.h>

#include <string>

#include "planet_file.h"

namespace {

// "c0\tc1\t...\tc<last>\n": column n holds "c<n>".
std::string line_with_columns(int last) {
  std::string line = "c0";
  for (int column = 1; column <= last; ++column)
    line += "\tc" + std::to_string(column);
  return line + "\n";
}

struct FieldCase {
  std::string line;
  int column;
  const char *field;
};

} // namespace

// Columns are counted by tabs alone: a missing column is empty, the last one
// keeps the line feed, and a zero byte ends the line.
TEST(ReportField, CutsColumnsByTabs) {
  const std::string FULL = line_with_columns(25);
  const FieldCase cases[] = {
      {FULL, COLUMN_NAME, "c0"},
      {FULL, COLUMN_GRAV, "c20"},
      {FULL, COLUMN_TEMP, "c21"},
      {FULL, COLUMN_RAD, "c22"},
      {line_with_columns(22), COLUMN_RAD, "c22\n"},
      {line_with_columns(20), COLUMN_GRAV, "c20\n"},
      {line_with_columns(20), COLUMN_TEMP, ""},
      {line_with_columns(5), COLUMN_GRAV, ""},
      {"no tab\n", COLUMN_NAME, "no tab\n"},
      {"a\t\tb\n", 1, ""},
      {std::string("a\tb\0\tc\n", 7), 1, "b"},
      {std::string("a\tb\0\tc\n", 7), 2, ""},
  };
  for (const FieldCase &c : cases)
    EXPECT_STREQ(report_field(c.line.c_str(), c.column), c.field)
        << "column " << c.column << " of \"" << c.line << "\"";
}

// Every call starts from the untouched line, whatever was cut before, and a
// line of the longest length comes back whole; a longer one is cut to it.
TEST(ReportField, CallsDoNotAffectEachOther) {
  const std::string line = line_with_columns(22);
  const std::string grav = report_field(line.c_str(), COLUMN_GRAV);
  EXPECT_STREQ(report_field(line.c_str(), COLUMN_RAD), "c22\n");
  EXPECT_STREQ(report_field(line.c_str(), COLUMN_TEMP), "c21");
  EXPECT_EQ(report_field(line.c_str(), COLUMN_GRAV), grav);
  EXPECT_STREQ(report_field(line.c_str(), COLUMN_NAME), "c0");
  EXPECT_EQ(line, line_with_columns(22));

  const std::string longest(LINE_BUFFER_SIZE - 1, 'n');
  EXPECT_EQ(report_field(longest.c_str(), COLUMN_NAME), longest);
  const std::string longer(LINE_BUFFER_SIZE + 1, 'n');
  EXPECT_EQ(report_field(longer.c_str(), COLUMN_NAME), longest);
}
