#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "float_bits.h"
#include "number_inputs.h"
#include "number_oracle.h"
#include "text_input.h"

// to_single against the oracle of number_oracle.h, which cuts the digits
// itself and rounds through strtold's x87 64-bit significand.

namespace {

// A random finite float, or a double between 2^-160 and 2^130, printed by
// "%.<N>g" with 1 to 25 digits: the C library's own spellings, which differ
// from one library to the next, and so stay out of number_inputs.h.
std::string printed_value_text(std::uint64_t *state) {
  double value;
  if (random_below(state, 2) == 0) {
    std::uint32_t bits;
    do
      bits = static_cast<std::uint32_t>(next_random(state));
    while ((bits & 0x7F800000u) == 0x7F800000u);
    value = float_from_bits(bits);
  } else {
    std::uint64_t biased = 1023 - 160 + random_below(state, 291);
    std::uint64_t bits =
        (next_random(state) & 0x800FFFFFFFFFFFFFu) | (biased << 52);
    std::memcpy(&value, &bits, sizeof value);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*g",
                1 + static_cast<int>(random_below(state, 25)), value);
  return text;
}

} // namespace

TEST(NumberRuleDifferential, MatchesExtendedPrecisionOracle) {
  if (!oracle_is_exact())
    GTEST_SKIP() << (oracle_under_valgrind()
                         ? "valgrind computes long double with 53 bits"
                         : "long double here is not the x87 format")
                 << ": strtold is no oracle";

  std::uint64_t random = 20240611;
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
      ADD_FAILURE() << "to_single(\"" << text << "\") = 0x" << std::hex
                    << float_bits(actual) << " (" << std::hexfloat << actual
                    << "), oracle 0x" << float_bits(expected) << " ("
                    << expected << std::defaultfloat << std::dec << " = "
                    << expected << ") from " << cut;
  };

  for (int i = 0; i < 400000; ++i)
    check(random_digits_text(&random));
  for (int i = 0; i < 300000; ++i)
    check(printed_value_text(&random));
  for (int i = 0; i < 120000; ++i) {
    std::string texts[3];
    midpoint_texts(&random, texts);
    for (const std::string &text : texts)
      check(text);
  }

  EXPECT_EQ(mismatches, 0) << "of " << inputs << " inputs";
  EXPECT_GE(inputs, 1000000);
  // Without the hard cases the comparison would prove little.
  EXPECT_GT(double_rounded, 1000) << "inputs where double rounding matters";
}
