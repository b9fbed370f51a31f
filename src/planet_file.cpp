#include "planet_file.h"

#include <cstring>

char FIELD_SCRATCH[LINE_BUFFER_SIZE];

const char *report_field(const char *line, int column) {
  // A zero byte ends the line for this purpose: the columns after it are
  // empty, however many tabs follow it in the file.
  const char *start = line;
  for (int passed = 0; passed < column; ++passed) {
    const char *tab = std::strchr(start, '\t');
    if (tab == nullptr) {
      FIELD_SCRATCH[0] = '\0';
      return FIELD_SCRATCH;
    }
    start = tab + 1;
  }
  const char *end = std::strchr(start, '\t');
  std::size_t length = end != nullptr ? static_cast<std::size_t>(end - start)
                                      : std::strlen(start);
  // Only the field is copied: the result is the same as cutting a copy of
  // the whole line, without moving the bytes no one looks at.
  if (length > LINE_BUFFER_SIZE - 1)
    length = LINE_BUFFER_SIZE - 1;
  std::memcpy(FIELD_SCRATCH, start, length);
  FIELD_SCRATCH[length] = '\0';
  return FIELD_SCRATCH;
}

namespace {

// Reads one line whole. A line too long for the buffer is judged by its
// first LINE_BUFFER_SIZE - 1 bytes and the rest of it, up to its line feed,
// is passed over: the tail of a long line is not a planet of its own.
std::size_t read_planet_line(char *line, ReportFile *file) {
  std::size_t length = read_report_line(line, LINE_BUFFER_SIZE, file);
  if (length == LINE_BUFFER_SIZE - 1 && line[length - 1] != '\n')
    skip_report_line_rest(file);
  return length;
}

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

void scan_report_file(const char *name, EnvironmentLimits limits) {
  ReportFile file;
  if (!open_report_file(&file, name))
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
    if (read_planet_line(line, &file) == 0)
      continue;
    // A line with no tab before its end is a blank line or stray text, not
    // a planet; listed, its "name" would run over two output lines.
    if (std::strchr(line, '\t') == nullptr)
      continue;
    // Each value is converted only when the ones before it passed: the
    // tests stop at the first that fails either way.
    float grav = to_single(report_field(line, COLUMN_GRAV));
    if (!within(limits.grav_min, grav, limits.grav_max))
      continue;
    float temp = to_single(report_field(line, COLUMN_TEMP));
    if (!within(limits.temp_min, temp, limits.temp_max))
      continue;
    float rad = to_single(report_field(line, COLUMN_RAD));
    if (!within(limits.rad_min, rad, limits.rad_max))
      continue;
    print_planet(line, grav, temp, rad);
  }
  put_text("\n");
  close_report_file(&file);
}
