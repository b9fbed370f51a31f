// An independent reading of format_fixed's output, built on glibc's printf.
// Below 1e19, glibc's "%.<decimals>f" of the widened value is the answer: it
// prints the exact decimal value of its argument, rounded at the last place
// with ties to even, and the widening from float is exact; only the sign of
// a result that shows nothing but zeros is dropped. From 1e19 up, glibc's
// "%.0f" gives the exact integer, which is rounded here to 19 significant
// digits (ties to even) with zeros after them, and the decimals give way so
// that no more than 40 digits show. Infinities and NaNs are "+INF", "-NAN"
// and the like.
#ifndef VORN_FORMAT_ORACLE_H
#define VORN_FORMAT_ORACLE_H

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

// 39 integer digits of the largest float, a sign, a point and the decimals
// that fit in 40 digits, or 20 digits and up to 9 decimals below 1e19.
constexpr std::size_t ORACLE_FIXED_SIZE = 128;

constexpr int ORACLE_EXACT_DIGITS = 19;
constexpr int ORACLE_DIGITS_MAX = 40;

// `magnitude` >= 1e19, an integer: its first 19 digits rounded, then zeros.
inline void oracle_format_large(char *out, double magnitude, bool negative,
                                int decimals) {
  char exact[64];
  int length = std::snprintf(exact, sizeof exact, "%.0f", magnitude);
  bool rest_nonzero = false;
  for (int i = ORACLE_EXACT_DIGITS + 1; i < length; ++i)
    rest_nonzero |= exact[i] != '0';
  char dropped = exact[ORACLE_EXACT_DIGITS];
  bool up = dropped > '5' ||
            (dropped == '5' &&
             (rest_nonzero || (exact[ORACLE_EXACT_DIGITS - 1] - '0') % 2 == 1));
  for (int i = ORACLE_EXACT_DIGITS; i < length; ++i)
    exact[i] = '0';
  int i = ORACLE_EXACT_DIGITS - 1;
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
  int shown = ORACLE_DIGITS_MAX - whole_digits < decimals
                  ? ORACLE_DIGITS_MAX - whole_digits
                  : decimals;
  if (shown > 0) {
    *at++ = '.';
    for (int k = 0; k < shown; ++k)
      *at++ = '0';
  }
  *at = '\0';
}

// What format_fixed(value, decimals) must write, into `out` of
// ORACLE_FIXED_SIZE bytes; `decimals` is 0 to 9.
inline void oracle_format_fixed(char *out, float value, int decimals) {
  double wide = value; // exact
  bool negative = std::signbit(wide);
  if (std::isnan(wide)) {
    std::snprintf(out, ORACLE_FIXED_SIZE, "%cNAN", negative ? '-' : '+');
  } else if (std::isinf(wide)) {
    std::snprintf(out, ORACLE_FIXED_SIZE, "%cINF", negative ? '-' : '+');
  } else if (std::fabs(wide) < 1e19) {
    std::snprintf(out, ORACLE_FIXED_SIZE, "%.*f", decimals, wide);
    if (out[0] == '-' && std::strspn(out + 1, "0.") == std::strlen(out + 1))
      std::memmove(out, out + 1, std::strlen(out));
  } else {
    oracle_format_large(out, std::fabs(wide), negative, decimals);
  }
}

#endif
