// The planet file scanner: checks a file's layout, tests each planet against
// the limits and prints those that pass.
#ifndef VORN_PLANET_FILE_H
#define VORN_PLANET_FILE_H

#include <cstddef>

#include "text_input.h"

// The limits from the command line, in g, degrees Celsius and mR. Nothing
// is checked: a minimum above its maximum simply lets no planet through.
struct EnvironmentLimits {
  float grav_min;
  float grav_max;
  float temp_min;
  float temp_max;
  float rad_min;
  float rad_max;
};

// Columns are counted from 0 and separated by tabs.
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_GRAV = 20;
constexpr int COLUMN_TEMP = 21;
constexpr int COLUMN_RAD = 22;

// Column 20 of the header reads this in files of the current layout.
constexpr const char *HEADER_SENTINEL = "Grav";

// report_field copies the field it cuts here, so the text it hands out
// stays valid only until its next call.
extern char FIELD_SCRATCH[LINE_BUFFER_SIZE];

// Yields column `column` of the zero-terminated `line`: the text after the
// column-th tab up to the next tab, or to the end of the line (line feed
// included) for the last column. Empty when the line has fewer tabs. A zero
// byte ends the line. A field longer than LINE_BUFFER_SIZE - 1 bytes is cut
// to that length; every line read by read_report_line is shorter anyway.
const char *report_field(const char *line, int column);

// Processes one planet file: prints its "Processing file" line, the planets
// within all three ranges, and a closing blank line; or the old-layout
// message. A file that can't be opened is passed over without a word. A read
// error ends the file after the last line read whole before it (the line it
// cuts through is dropped, where a real end still reads an unterminated last
// line), and is reported on standard error once the block is printed (see
// report_read_error). `name` is the upper-cased name, the one printed;
// `typed_name` is the same name in the case the user typed (null when there
// is none), tried when `name` does not exist (see open_report_file).
void scan_report_file(const char *name, EnvironmentLimits limits,
                      const char *typed_name = nullptr);

#endif
