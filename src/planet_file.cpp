#include "planet_file.h"

#include <cstdint>
#include <cstring>

char FIELD_SCRATCH[LINE_BUFFER_SIZE];

// The scanner steps from one value's column to the next.
static_assert(COLUMN_TEMP == COLUMN_GRAV + 1 && COLUMN_RAD == COLUMN_TEMP + 1,
              "the three values stand side by side");

namespace {

constexpr std::uint64_t BYTE_ONES = 0x0101010101010101u;
constexpr std::uint64_t BYTE_TOPS = 0x8080808080808080u;

// 0x80 in each byte of `word` that is zero, and 0 in every other byte.
// Exact, with no false marks: adding 0x7F to a byte's low seven bits sets
// its top bit unless they are all zero, and never carries into the next
// byte; or-ing in the word itself then leaves the top bit clear only where
// the whole byte is zero.
std::uint64_t zero_bytes(std::uint64_t word) {
  std::uint64_t low = (word & ~BYTE_TOPS) + BYTE_ONES * 0x7F;
  return ~(low | word) & BYTE_TOPS;
}

// The number of bytes that zero_bytes marked: the marks moved down to 1 and
// multiplied by BYTE_ONES add up in the top byte, and a sum of at most 8
// never carries between bytes.
int count_marks(std::uint64_t marks) {
  return static_cast<int>(((marks >> 7) * BYTE_ONES) >> 56);
}

// The start of the column `count` columns after the one that starts at
// `at`: just past the count-th tab. `end` is the end of the line, where a
// zero byte stands. Null when a zero byte comes first, since a zero byte
// ends the line for this purpose: the columns after it are empty, however
// many tabs follow it in the file. Null in, null out: a column after a
// missing one is missing too.
//
// Planet lines have short fields, so a byte loop would stop and mispredict
// at every tab. Instead whole 8-byte words are passed over while they hold
// no zero byte and fewer tabs than are still to be passed, which only counts
// tabs and so does not depend on byte order; the word that holds the tab
// sought (or a zero byte) is then walked byte by byte. Words are read only
// within [at, end), bytes the line really holds.
const char *skip_columns(const char *at, const char *end, int count) {
  if (at == nullptr || count == 0)
    return at;
  while (end - at >= 8) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    if (zero_bytes(word) != 0)
      break;
    int tabs = count_marks(zero_bytes(word ^ (BYTE_ONES * '\t')));
    if (tabs >= count)
      break;
    count -= tabs;
    at += 8;
  }
  // The zero byte at `end` stops this loop at the latest.
  for (;; ++at) {
    if (*at == '\t' && --count == 0)
      return at + 1;
    if (*at == '\0')
      return nullptr;
  }
}

// Copies the column that starts at `start` (null: a missing column) into
// FIELD_SCRATCH, up to the next tab or to the end of the line. Only the field
// is copied: the result is the same as cutting a copy of the whole line,
// without moving the bytes no one looks at.
const char *cut_field(const char *start) {
  if (start == nullptr) {
    FIELD_SCRATCH[0] = '\0';
    return FIELD_SCRATCH;
  }
  const char *end = start;
  while (*end != '\t' && *end != '\0')
    ++end;
  std::size_t length = static_cast<std::size_t>(end - start);
  if (length > LINE_BUFFER_SIZE - 1)
    length = LINE_BUFFER_SIZE - 1;
  std::memcpy(FIELD_SCRATCH, start, length);
  FIELD_SCRATCH[length] = '\0';
  return FIELD_SCRATCH;
}

} // namespace

const char *report_field(const char *line, int column) {
  return cut_field(skip_columns(line, line + std::strlen(line), column));
}

namespace {

bool within(float low, float value, float high) {
  return low <= value && value <= high;
}

void print_planet(const char *line, float grav, float temp, float rad) {
  put_text("  \"");
  put_text(report_field(line, COLUMN_NAME));
  put_text("\" is inhabitable!\t(Grav=");
  put_fixed(grav, 2);
  put_text("g, Temp=");
  put_fixed(temp, 0);
  put_text("C, Rad=");
  put_fixed(rad, 0);
  put_text("mR)\n");
}

} // namespace

void scan_report_file(const char *name, EnvironmentLimits limits,
                      const char *typed_name) {
  ReportFile file;
  if (!open_report_file(&file, name, typed_name))
    return;
  put_text("Processing file ");
  put_text(name);
  put_text("\n\n");

  // An empty file has no header to examine; it is treated like one that
  // holds only its header.
  char line[LINE_BUFFER_SIZE];
  if (read_planet_line(line, &file) > 0 &&
      std::strcmp(report_field(line, COLUMN_GRAV), HEADER_SENTINEL) != 0) {
    put_text("  Not a new (v2.7i+ or v2.6i+) Kelvo planet file!\n\n");
    close_report_file(&file);
    return;
  }

  while (!file.at_end) {
    std::size_t length = read_planet_line(line, &file);
    if (length == 0)
      continue;
    const char *end = line + length;
    // A line with no tab before its end is a blank line or stray text, not
    // a planet; listed, its "name" would run over two output lines.
    const char *column = skip_columns(line, end, 1);
    if (column == nullptr)
      continue;
    // The line is walked once: temperature and radiation are found from
    // where gravity starts, which is where report_field would find them after
    // counting the same tabs again from the line's start. A missing column
    // stays null and reads as empty, so as 0.
    column = skip_columns(column, end, COLUMN_GRAV - 1);
    // Each value is converted only when the ones before it passed: the
    // tests stop at the first that fails either way.
    float grav = to_single(cut_field(column));
    if (!within(limits.grav_min, grav, limits.grav_max))
      continue;
    column = skip_columns(column, end, 1);
    float temp = to_single(cut_field(column));
    if (!within(limits.temp_min, temp, limits.temp_max))
      continue;
    column = skip_columns(column, end, 1);
    float rad = to_single(cut_field(column));
    if (!within(limits.rad_min, rad, limits.rad_max))
      continue;
    print_planet(line, grav, temp, rad);
  }
  put_text("\n");
  if (file.failed)
    report_read_error(name, file.error);
  close_report_file(&file);
}
