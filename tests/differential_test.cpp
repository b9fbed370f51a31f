#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "float_bits.h"
#include "number_oracle.h"
#include "text_input.h"

// to_single against the oracle of number_oracle.h, which cuts the digits
// itself and rounds through strtold's x87 64-bit significand.

namespace {

std::string random_sign(std::mt19937_64 &random) {
  static const char *const SIGNS[] = {"", "-", "+"};
  return SIGNS[random() % 3];
}

// 1 to 25 random digits (leading zeros allowed), a point anywhere or none,
// and an exponent that puts the value between 1e-48 and 1e42, a half of them
// at the overflow and subnormal edges.
std::string random_digits_text(std::mt19937_64 &random) {
  int count = 1 + static_cast<int>(random() % 25);
  std::string digits;
  for (int i = 0; i < count; ++i)
    digits += static_cast<char>('0' + random() % 10);
  int point = static_cast<int>(random() % static_cast<unsigned>(count + 2));
  if (point <= count)
    digits.insert(static_cast<std::size_t>(point), ".");
  else
    point = count;
  static const int LOW[] = {36, -47, -48, -48};
  static const unsigned SPAN[] = {5, 12, 90, 90};
  std::size_t kind = random() % 4;
  int magnitude = LOW[kind] + static_cast<int>(random() % SPAN[kind]);
  static const char *const MARKS[] = {"e", "E", "e+"};
  int exponent = magnitude - point;
  return random_sign(random) + digits +
         (exponent < 0 ? "e" : MARKS[random() % 3]) + std::to_string(exponent);
}

// A random finite float, or a double between 2^-160 and 2^130, printed by
// "%.<N>g" with 1 to 25 digits.
std::string printed_value_text(std::mt19937_64 &random) {
  double value;
  if (random() % 2 == 0) {
    std::uint32_t bits;
    do
      bits = static_cast<std::uint32_t>(random());
    while ((bits & 0x7F800000u) == 0x7F800000u);
    value = float_from_bits(bits);
  } else {
    std::uint64_t biased = 1023 - 160 + random() % 291;
    std::uint64_t bits = (random() & 0x800FFFFFFFFFFFFFu) | (biased << 52);
    std::memcpy(&value, &bits, sizeof value);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", 1 + static_cast<int>(random() % 25),
                value);
  return text;
}

// Adds `step` (+1 or -1) to the last digit; the result may gain a digit in
// front or keep a leading zero, and is still a decimal either way.
std::string nudge(std::string digits, int step) {
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

// The exact midpoint between a random float and the next one up (a share of
// them at the very top), printed with 15 to 40 significant digits, and one
// unit either side in the last of them: the cut and both roundings decide.
void midpoint_texts(std::mt19937_64 &random, std::string texts[3]) {
  std::uint32_t bits = static_cast<std::uint32_t>(random() % 0x7F7FFFFFu) + 1;
  if (random() % 8 == 0)
    bits = 0x7F7FFFFFu - static_cast<std::uint32_t>(random() % 64);
  float lower = float_from_bits(bits);
  double upper = bits == 0x7F7FFFFFu ? std::ldexp(1.0, 128)
                                     : std::nextafter(lower, INFINITY);
  double midpoint = (static_cast<double>(lower) + upper) / 2; // exact
  int precision = 15 + static_cast<int>(random() % 26);
  char printed[80];
  std::snprintf(printed, sizeof printed, "%.*e", precision - 1, midpoint);
  const char *mark = std::strchr(printed, 'e');
  std::string digits(printed, static_cast<std::size_t>(mark - printed));
  digits.erase(1, 1); // the point after the first digit
  std::string exponent = std::to_string(std::atoi(mark + 1) - (precision - 1));
  std::string sign = random_sign(random);
  texts[0] = sign + digits + "e" + exponent;
  texts[1] = sign + nudge(digits, 1) + "e" + exponent;
  texts[2] = sign + nudge(digits, -1) + "e" + exponent;
}

} // namespace

TEST(NumberRuleDifferential, MatchesExtendedPrecisionOracle) {
  if (!oracle_is_exact())
    GTEST_SKIP() << (oracle_under_valgrind()
                         ? "valgrind computes long double with 53 bits"
                         : "long double here is not the x87 format")
                 << ": strtold is no oracle";

  std::mt19937_64 random(20240611);
  long inputs = 0;
  long mismatches = 0;
  long double_rounded = 0; // where rounding once, directly, would differ
  auto check = [&](const std::string &text) {
    ++inputs;
    char cut[ORACLE_CUT_SIZE];
    bool negative;
    oracle_cut(text.c_str(), cut, &negative);
    float expected = oracle_to_single(text.c_str());
    float actual = to_single(text.c_str());
    if (cut[0] != '\0' && float_bits(std::strtof(cut, nullptr)) !=
                              float_bits(std::fabs(expected)))
      ++double_rounded;
    if (float_bits(actual) != float_bits(expected) && ++mismatches <= 10)
      ADD_FAILURE() << "to_single(\"" << text
                    << "\") = " << float_text(actual).text << ", oracle "
                    << float_text(expected).text << " from " << cut;
  };

  for (int i = 0; i < 400000; ++i)
    check(random_digits_text(random));
  for (int i = 0; i < 300000; ++i)
    check(printed_value_text(random));
  for (int i = 0; i < 120000; ++i) {
    std::string texts[3];
    midpoint_texts(random, texts);
    for (const std::string &text : texts)
      check(text);
  }

  EXPECT_EQ(mismatches, 0) << "of " << inputs << " inputs";
  EXPECT_GE(inputs, 1000000);
  // Without the hard cases the comparison would prove little.
  EXPECT_GT(double_rounded, 1000) << "inputs where double rounding matters";
}
