// Generated number texts for the tests that run to_single over many inputs.
// Everything here is integer arithmetic with the random generator of
// splitmix64.h, so that the same seed gives the same inputs on every
// platform: the C library's printf and the standard library's distributions
// differ from one platform to the next.
#ifndef VORN_TESTS_NUMBER_INPUTS_H
#define VORN_TESTS_NUMBER_INPUTS_H

#include <cstdint>
#include <string>

#include "splitmix64.h"

inline std::string random_sign(std::uint64_t *state) {
  static const char *const SIGNS[] = {"", "-", "+"};
  return SIGNS[random_below(state, 3)];
}

// 1 to 25 random digits (leading zeros allowed), a point anywhere or none,
// and an exponent that puts the value between 1e-48 and 1e42, a half of them
// at the overflow and subnormal edges.
inline std::string random_digits_text(std::uint64_t *state) {
  int count = 1 + static_cast<int>(random_below(state, 25));
  std::string digits;
  for (int i = 0; i < count; ++i)
    digits += static_cast<char>('0' + random_below(state, 10));
  int point = static_cast<int>(random_below(state, unsigned(count) + 2));
  if (point <= count)
    digits.insert(static_cast<std::size_t>(point), ".");
  else
    point = count;
  static const int LOW[] = {36, -47, -48, -48};
  static const unsigned SPAN[] = {5, 12, 90, 90};
  unsigned kind = random_below(state, 4);
  int magnitude = LOW[kind] + static_cast<int>(random_below(state, SPAN[kind]));
  static const char *const MARKS[] = {"e", "E", "e+"};
  int exponent = magnitude - point;
  // One draw a statement: the operands of + may be evaluated in any order,
  // and compilers for different processors do pick different ones.
  std::string text = random_sign(state);
  text += digits;
  text += exponent < 0 ? "e" : MARKS[random_below(state, 3)];
  return text + std::to_string(exponent);
}

// Adds `step` (+1 or -1) to the last digit; the result may gain a digit in
// front or keep a leading zero, and is still a decimal either way.
inline std::string nudge(std::string digits, int step) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    char wraps = step > 0 ? '9' : '0';
    if (digits[i] != wraps) {
      digits[i] = static_cast<char>(digits[i] + step);
      return digits;
    }
    digits[i] = step > 0 ? '0' : '9';
  }
  return "1" + digits;
}

// The exact decimal digits of odd * 2^power (odd below 2^26, power from
// -150 to 105), without leading zeros, and the power of ten of the last one.
// The number is kept in base 10^9: 5^150 * 2^26 has 113 digits.
inline std::string exact_digits(std::uint32_t odd, int power, int *exponent) {
  const std::uint64_t BASE = 1000000000;
  std::uint64_t limbs[16] = {odd};
  int used = 1;
  auto multiply = [&](std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < used; ++i) {
      std::uint64_t product = limbs[i] * factor + carry;
      limbs[i] = product % BASE;
      carry = product / BASE;
    }
    if (carry != 0)
      limbs[used++] = carry;
  };
  // m * 2^-k is m * 5^k / 10^k; factors stay below 2^30, products below 2^60.
  for (int left = power; left > 0; left -= 20)
    multiply(std::uint64_t(1) << (left < 20 ? left : 20));
  for (int left = -power; left > 0; left -= 12) {
    std::uint64_t factor = 1;
    for (int i = 0; i < (left < 12 ? left : 12); ++i)
      factor *= 5;
    multiply(factor);
  }
  *exponent = power < 0 ? power : 0;
  std::string digits = std::to_string(limbs[used - 1]);
  for (int i = used - 2; i >= 0; --i) {
    std::string limb = std::to_string(limbs[i]);
    digits += std::string(9 - limb.size(), '0') + limb;
  }
  return digits;
}

// The exact midpoint between a random float and the next one up (a share of
// them at the very top), cut to 15 to 40 significant digits (most midpoints
// of floats near 1 have fewer, and stay exact ties), and one unit either
// side in the last of them: the cut and both roundings decide.
inline void midpoint_texts(std::uint64_t *state, std::string texts[3]) {
  std::uint32_t bits =
      static_cast<std::uint32_t>(next_random(state) % 0x7F7FFFFFu) + 1;
  if (random_below(state, 8) == 0)
    bits = 0x7F7FFFFFu - random_below(state, 64);
  // The float is m * 2^e, the next one up (m + 1) * 2^e, also at the top of
  // a binade and past the largest float; the midpoint is (2m + 1) * 2^(e-1).
  std::uint32_t biased = bits >> 23;
  std::uint32_t m = bits & 0x7FFFFFu;
  int e = -149;
  if (biased != 0) {
    m |= 0x800000u;
    e = static_cast<int>(biased) - 150;
  }
  int exponent;
  std::string digits = exact_digits(2 * m + 1, e - 1, &exponent);
  std::size_t precision = 15 + random_below(state, 26);
  if (digits.size() > precision) {
    exponent += static_cast<int>(digits.size() - precision);
    digits.resize(precision);
  }
  std::string sign = random_sign(state);
  std::string mark = "e" + std::to_string(exponent);
  texts[0] = sign + digits + mark;
  texts[1] = sign + nudge(digits, 1) + mark;
  texts[2] = sign + nudge(digits, -1) + mark;
}

#endif
