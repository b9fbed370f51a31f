// An independent reading of the number rule, for checking to_single: the
// number's syntax is parsed again, its digits are cut to the first 19
// significant ones and handed to the C library's strtold, whose result is
// clamped to the double range and then cast to float. On x86-64 glibc,
// strtold rounds correctly to the x87 format's 64-bit significand, and the
// cast rounds that once more to float: the same two roundings, done by other
// code. Where long double is not the x87 format, or under valgrind (which
// computes long double with a double's 53 bits), the oracle means nothing:
// callers check oracle_is_exact() first.
#ifndef VORN_NUMBER_ORACLE_H
#define VORN_NUMBER_ORACLE_H

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__has_include)
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif
#endif

inline bool oracle_under_valgrind() {
#ifdef RUNNING_ON_VALGRIND
  return RUNNING_ON_VALGRIND != 0;
#else
  return false;
#endif
}

inline bool oracle_is_exact() {
  return LDBL_MANT_DIG == 64 && !oracle_under_valgrind();
}

// "-0.<19 digits>e-<13 digits>" and its zero byte fit with room to spare.
constexpr std::size_t ORACLE_CUT_SIZE = 48;

inline bool oracle_is_space(unsigned char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

inline bool oracle_is_digit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// Writes the number that `text` begins with (after white space and a sign)
// to `cut` as "0.<first 19 significant digits>e<exponent>" and its sign to
// `negative`. `cut` is left empty when the number is zero or there is none;
// the words INF and NAN are left to oracle_to_single.
inline void oracle_cut(const char *text, char *cut, bool *negative) {
  const unsigned char *at = reinterpret_cast<const unsigned char *>(text);
  while (oracle_is_space(*at))
    ++at;
  *negative = *at == '-';
  at += *at == '-' || *at == '+';

  // The number is 0.<kept digits> * 10^point.
  char kept[20];
  int kept_count = 0;
  long long point = 0;
  bool seen_point = false;
  bool any_digit = false;
  for (;; ++at) {
    if (*at == '.' && !seen_point) {
      seen_point = true;
    } else if (oracle_is_digit(*at)) {
      any_digit = true;
      bool significant = kept_count > 0 || *at != '0';
      if (significant && kept_count < 19)
        kept[kept_count++] = static_cast<char>(*at);
      if (!seen_point && significant)
        ++point;
      if (seen_point && !significant)
        --point;
    } else {
      break;
    }
  }
  if (any_digit && (*at == 'e' || *at == 'E')) {
    const unsigned char *mark = at + 1;
    bool exponent_negative = *mark == '-';
    mark += *mark == '-' || *mark == '+';
    long long written = 0;
    for (; oracle_is_digit(*mark); ++mark)
      if (written < 1000000000000LL) // far past any float, still no overflow
        written = written * 10 + (*mark - '0');
    point += exponent_negative ? -written : written;
  }
  cut[0] = '\0';
  if (kept_count > 0)
    std::snprintf(cut, ORACLE_CUT_SIZE, "0.%.*se%lld", kept_count, kept, point);
}

inline float oracle_to_single(const char *text) {
  const char *word = text;
  while (oracle_is_space(static_cast<unsigned char>(*word)))
    ++word;
  if (*word == '+' || *word == '-') {
    bool minus = *word == '-';
    if (std::strncmp(word + 1, "INF", 3) == 0)
      return minus ? -INFINITY : INFINITY;
    if (std::strncmp(word + 1, "NAN", 3) == 0)
      return minus ? -NAN : NAN;
  }

  char cut[ORACLE_CUT_SIZE];
  bool negative;
  oracle_cut(text, cut, &negative);
  long double value = cut[0] != '\0' ? std::strtold(cut, nullptr) : 0.0L;
  if (value > DBL_MAX)
    value = DBL_MAX;
  if (value < DBL_MIN)
    value = 0.0L;
  float single = static_cast<float>(value);
  return negative ? -single : single;
}

#endif
