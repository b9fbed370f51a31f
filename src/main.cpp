// vorn: lists the inhabitable planets of a game.
//
//   vorn <game> <gravmin> <gravmax> <tempmin> <tempmax> <radmin> <radmax>
//
// Reads the planet files <GAME>.P1 to <GAME>.P16 and prints each planet whose
// gravity, temperature and radiation all lie within the limits.

#include "planet_file.h"
#include "report_name.h"
#include "text_input.h"

namespace {

constexpr int REPORT_FILE_COUNT = 16;

// One line of the echo: "  - <label><low><unit><gap>.. <high><unit>". The
// gap pads each unit to the same width, so that the ".." line up.
void print_range(const char *label, float low, float high, int decimals,
                 const char *unit, const char *gap) {
  put_text("  - ");
  put_text(label);
  put_fixed(low, decimals);
  put_text(unit);
  put_text(gap);
  put_text(".. ");
  put_fixed(high, decimals);
  put_text(unit);
  put_text("\n");
}

void print_limits(EnvironmentLimits limits) {
  put_text("\nVorn ranges:\n\n");
  print_range("Grav: ", limits.grav_min, limits.grav_max, 2, "g", "  ");
  print_range("Temp: ", limits.temp_min, limits.temp_max, 0, "C", "  ");
  print_range("Rad:  ", limits.rad_min, limits.rad_max, 0, "mR", " ");
  put_text("\n");
}

} // namespace

int main(int argc, char **argv) {
  start_output();
  put_text("\nVorn: list inhabitable planets\n by the Vorn developers\n");
  if (argc != 8) {
    put_text("\nUse: Vorn <game> <gravmin> <gravmax> <tempmin> <tempmax> "
             "<radmin> <radmax>\n");
    finish_output();
    return 1;
  }

  EnvironmentLimits limits;
  limits.grav_min = to_single(argv[2]);
  limits.grav_max = to_single(argv[3]);
  limits.temp_min = to_single(argv[4]);
  limits.temp_max = to_single(argv[5]);
  limits.rad_min = to_single(argv[6]);
  limits.rad_max = to_single(argv[7]);
  print_limits(limits);

  char name[NAME_BUFFER_SIZE];
  char typed_name[NAME_BUFFER_SIZE];
  for (int number = 1; number <= REPORT_FILE_COUNT; ++number)
    if (report_file_name(name, typed_name, argv[1], number))
      scan_report_file(name, limits, typed_name);

  // 0, or 2 when a planet file could not be read to its end.
  return finish_output();
}
