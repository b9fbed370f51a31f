// Writes an invented game into the current folder: <game>.P1 .. <game>.P16,
// each a header and <planets> planet lines of 25 tab-separated columns,
// about 125 bytes each, with CR LF line ends as the game writes them. Every
// bulk game that bench/run and the browser test (tests/web) use is made
// here.
//
//   bench_generate <game> <planets-per-file>
//
// The values are drawn from a fixed seed, so every run writes the same bytes.
// Gravity, temperature and radiation are spread so that the README example's
// limits (0.5 to 1.5 g, -40 to 40 C, 20 to 80 mR), which bench/run and the
// browser test use, let about 2% of the planets through: 101/300 * 81/400 *
// 61/208 = 2.00%. They
// are written as the game does ("0.87g", "-23C", "45mR"): short decimals
// that the number rule converts on its fast path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "splitmix64.h"

namespace {

constexpr int FILE_COUNT = 16;

const char *const HEADER =
    "Name\tIdent\tSector\tX\tY\tZ\tSize\tMass\tMoons\tRings\tAlbedo\tAxial\t"
    "Day\tYear\tOre\tIce\tGas\tCrust\tCore\tMagnet\tGrav\tTemp\tRad\tNotes\t"
    "Owner\r\n";

const char *const FIRST_SYLLABLES[] = {"Am",  "Bra", "Cin", "Dun", "El",
                                       "Fen", "Gor", "Hal", "Isk", "Jor",
                                       "Kel", "Lum", "Mor", "Nev", "Or"};
const char *const SECOND_SYLLABLES[] = {"berlune", "sk",   "dervale", "mere",
                                        "thos",    "wick", "adon",    "ris",
                                        "tavar",   "mont", "quay",    "zeth"};
const char *const CRUSTS[] = {"basalt", "granite", "ice", "sand", "iron"};
const char *const CORES[] = {"iron", "nickel", "rock", "molten"};
const char *const NOTES[] = {"",         "",      "",       "sea world",
                             "ice caps", "ruins", "storms", "old colony"};
const char *const OWNERS[] = {"-", "-", "Tarrin", "Ves", "Okanu", "Lirael"};

// A number in [0, bound), as an int for the arithmetic of the columns.
int random_int(std::uint64_t *state, int bound) {
  return static_cast<int>(random_below(state, static_cast<unsigned>(bound)));
}

// One of `words`, chosen at random.
template <std::size_t N>
const char *pick(const char *const (&words)[N], std::uint64_t *state) {
  return words[random_below(state, static_cast<unsigned>(N))];
}

bool write_file(const char *name, int planets, int first_ident,
                std::uint64_t *state) {
  std::FILE *out = std::fopen(name, "wb");
  if (out == nullptr)
    return false;
  static char buffer[1 << 16];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  std::fputs(HEADER, out);
  for (int i = 0; i < planets; ++i) {
    // Drawn one statement at a time: the order in which a call's arguments
    // are evaluated is unspecified, and the bytes must not depend on it.
    int ident = first_ident + i;
    const char *first = pick(FIRST_SYLLABLES, state);
    const char *second = pick(SECOND_SYLLABLES, state);
    std::fprintf(out, "%s%s-%d\t%d\tRim-%d", first, second, ident, ident,
                 1 + random_int(state, 9));
    for (int axis = 0; axis < 3; ++axis)
      std::fprintf(out, "\t%d", random_int(state, 10000));
    int size = 1 + random_int(state, 12);
    int mass = random_int(state, 1000);
    int moons = random_int(state, 10);
    const char *rings = random_int(state, 2) != 0 ? "yes" : "no";
    int albedo = random_int(state, 100);
    std::fprintf(out, "\t%d\t%d.%02d\t%d\t%s\t0.%02d", size, mass / 100,
                 mass % 100, moons, rings, albedo);
    int axial = random_int(state, 91);
    int day = 5 + random_int(state, 76);
    int year = 100 + random_int(state, 1900);
    std::fprintf(out, "\t%d\t%d\t%d", axial, day, year);
    for (int resource = 0; resource < 3; ++resource)
      std::fprintf(out, "\t%d", random_int(state, 1000));
    const char *crust = pick(CRUSTS, state);
    const char *core = pick(CORES, state);
    int magnet = random_int(state, 300);
    std::fprintf(out, "\t%s\t%s\t%d.%02d", crust, core, magnet / 100,
                 magnet % 100);
    int grav = 5 + random_int(state, 300);    // hundredths: 0.05 to 3.04 g
    int temp = -180 + random_int(state, 400); // -180 to 219 C
    int rad = random_int(state, 208);         // 0 to 207 mR
    std::fprintf(out, "\t%d.%02dg\t%dC\t%dmR", grav / 100, grav % 100, temp,
                 rad);
    const char *note = pick(NOTES, state);
    const char *owner = pick(OWNERS, state);
    std::fprintf(out, "\t%s\t%s\r\n", note, owner);
  }
  bool written = std::ferror(out) == 0;
  return std::fclose(out) == 0 && written;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fputs("use: bench_generate <game> <planets-per-file>\n", stderr);
    return 2;
  }
  int planets = std::atoi(argv[2]);
  std::uint64_t state = 20240601;
  char name[4096];
  for (int number = 1; number <= FILE_COUNT; ++number) {
    std::snprintf(name, sizeof name, "%s.P%d", argv[1], number);
    if (!write_file(name, planets, 1 + (number - 1) * planets, &state)) {
      std::fprintf(stderr, "bench_generate: cannot write %s\n", name);
      return 1;
    }
  }
  return 0;
}
