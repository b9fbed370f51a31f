// Checks format_fixed against glibc on arbitrary float bits. Below 1e19
// glibc's "%.2f" / "%.0f" of the widened value is the reference (it prints
// the exact digits, rounded ties to even), with the sign dropped from a
// result that shows only zeros. From 1e19 up, glibc's "%.0f" gives the exact
// integer, rounded here to 19 significant digits; the rest of the digits
// must be zeros and no more than 40 digits may appear.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text_input.h"

namespace {

constexpr int EXACT_DIGITS = 19;
constexpr int DIGITS_MAX = 40;

[[noreturn]] void mismatch(float value, int decimals, const char *ours,
                           const char *expected) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::fprintf(stderr,
               "format_fixed(0x%08X = %a, %d) wrote \"%s\", expected \"%s\"\n",
               static_cast<unsigned>(bits), static_cast<double>(value),
               decimals, ours, expected);
  std::abort();
}

// What a value of 1e19 or more must print as: the exact integer rounded to
// 19 significant digits, ties to even, zeros after them, and as many zero
// decimals as keep the digits within 40.
void expected_large(char *out, double magnitude, bool negative, int decimals) {
  char exact[64];
  int length = std::snprintf(exact, sizeof exact, "%.0f", magnitude);
  bool rest_nonzero = false;
  for (int i = EXACT_DIGITS + 1; i < length; ++i)
    rest_nonzero |= exact[i] != '0';
  char dropped = exact[EXACT_DIGITS];
  bool up = dropped > '5' ||
            (dropped == '5' &&
             (rest_nonzero || (exact[EXACT_DIGITS - 1] - '0') % 2 == 1));
  for (int i = EXACT_DIGITS; i < length; ++i)
    exact[i] = '0';
  int i = EXACT_DIGITS - 1;
  if (up) {
    while (i >= 0 && exact[i] == '9')
      exact[i--] = '0';
  }
  char *at = out;
  if (negative)
    *at++ = '-';
  if (up && i < 0)
    *at++ = '1';
  else if (up)
    ++exact[i];
  std::memcpy(at, exact, static_cast<std::size_t>(length));
  at += length;
  int whole_digits = length + (up && i < 0 ? 1 : 0);
  int shown = DIGITS_MAX - whole_digits < decimals ? DIGITS_MAX - whole_digits
                                                   : decimals;
  if (shown > 0) {
    *at++ = '.';
    for (int k = 0; k < shown; ++k)
      *at++ = '0';
  }
  *at = '\0';
}

void check(float value, int decimals) {
  char ours[FIXED_TEXT_SIZE + 16];
  std::memset(ours, 'x', sizeof ours);
  std::size_t length = format_fixed(ours, value, decimals);
  if (length >= FIXED_TEXT_SIZE || std::strlen(ours) != length)
    mismatch(value, decimals, "(bad length)", "");

  int digits = 0;
  for (const char *at = ours; *at != '\0'; ++at)
    digits += *at >= '0' && *at <= '9';
  if (digits > DIGITS_MAX)
    mismatch(value, decimals, ours, "(at most 40 digits)");

  char expected[128];
  double wide = value; // exact
  bool negative = std::signbit(wide);
  if (std::isnan(wide)) {
    std::snprintf(expected, sizeof expected, "%cNAN", negative ? '-' : '+');
  } else if (std::isinf(wide)) {
    std::snprintf(expected, sizeof expected, "%cINF", negative ? '-' : '+');
  } else if (std::fabs(wide) < 1e19) {
    std::snprintf(expected, sizeof expected, "%.*f", decimals, wide);
    if (expected[0] == '-' &&
        std::strspn(expected + 1, "0.") == std::strlen(expected + 1))
      std::memmove(expected, expected + 1, std::strlen(expected));
  } else {
    expected_large(expected, std::fabs(wide), negative, decimals);
  }
  if (std::strcmp(ours, expected) != 0)
    mismatch(value, decimals, ours, expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // Every whole group of four bytes is one float.
  for (std::size_t at = 0; at + 4 <= size && at < 256; at += 4) {
    float value;
    std::memcpy(&value, data + at, sizeof value);
    check(value, 2);
    check(value, 0);
  }
  return 0;
}
