#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "float_bits.h"
#include "text_input.h"

namespace {

struct SingleCase {
  const char *text;
  std::uint32_t bits;
};

// Equal descriptions mean equal bits; a failure shows both in full.
void expect_single(const std::string &text, std::uint32_t expected) {
  EXPECT_EQ(std::string(float_text(to_single(text.c_str())).text),
            std::string(float_text(float_from_bits(expected)).text))
      << "to_single(" << ::testing::PrintToString(text) << ")";
}

template <std::size_t N> void expect_all(const SingleCase (&cases)[N]) {
  for (const SingleCase &c : cases)
    expect_single(c.text, c.bits);
}

} // namespace

// Digits past the 19th are dropped, not rounded, yet still move the point.
// 16777217 = 2^24 + 1 is the tie between 0x4B800000 and 0x4B800001 (even),
// so only the digits beyond it decide the side; leading zeros don't count.
// 1 + 2^-24 = 1.000000059604644775390625 lies below the tie once cut.
TEST(NumberRule, CutsAfterNineteenSignificantDigits) {
  const SingleCase cases[] = {
      {"16777217", 0x4B800000},
      {"16777217.00000000001", 0x4B800001},
      {"16777217.000000000001", 0x4B800000},
      {"16777217000000000009999e-15", 0x4B800000},
      {"000.00000000000000001677721700000000001e24", 0x4B800001},
      {"0.000000000000000016777217000000000001e24", 0x4B800000},
      {"1.000000059604644775390625", 0x3F800000},
      {"1.000000059604644776", 0x3F800001},
  };
  expect_all(cases);
  expect_single("1" + std::string(1000, '0') + "e-1000", 0x3F800000);
  expect_single("0." + std::string(1000, '0') + "1e1001", 0x3F800000);
}

// The exact value first goes to a 64-bit significand, landing on a float
// midpoint m that it was not on, and then the tie goes to even: the correctly
// rounded float is the other neighbour. Proofs, with h = half a 64-bit unit
// in the binade [2^t, 2^(t+1)), that is 2^(t-64):
TEST(NumberRule, RoundsTwiceThroughSixtyFourBits) {
  const SingleCase cases[] = {
      // m = (2*0xEB68C2 + 1) * 2^-23 = 3.67826902866363525390625; the text
      // is m + 9.375e-20, h = 2^-63 ~ 1.084e-19: down to m, then to even C2.
      {"3.678269028663635254", 0x406B68C2},
      // m = (2*0xDE1D45 + 1) * 2^-22 = 6.9410731792449951171875; the text
      // is m - 1.875e-19, h = 2^-62 ~ 2.168e-19: up to m, then to even 46.
      {"6.941073179244995117", 0x40DE1D46},
      // m = (2*0xAA9EBA + 1) * 2^45 = 786846021867943231488; the text is
      // m + 12, h = 2^5 = 32: to m, to even BA.
      {"7868460218679432315e2", 0x622A9EBA},
      // m = (2*0x9EE4A0 + 1) * 2^101 = 52801280586126008677802378055297007616;
      // the text is m + 2197621944702992384, h = 2^61 = 2305843009213693952.
      {"5280128058612600868e19", 0x7E1EE4A0},
      // m = (2*0xC19521 + 1) * 2^41 = 55796369017958039552; the text is
      // m - 2 = m - h, a tie at 64 bits too: m / 4 is even, so it goes to m,
      // and then to even 22.
      {"55796369017958039550", 0x60419522},
      // 2^69 - 12 = 5902958103587056517e2: below 2^69 the 64-bit unit is
      // 2^5, h = 16, so it rounds up to 2^69, a carry into a new bit.
      {"5902958103587056517e2", 0x62000000},
      // Subnormal: m = (2*0x62E40 + 1) * 2^-150
      // = 5.676050514147852658886176719538719134e-40 (first 37 digits); the
      // text is m + 1.1382e-59, h = 2^-195 ~ 1.9914e-59: to m, to even 40.
      {"5.676050514147852659e-40", 0x00062E40},
  };
  expect_all(cases);
}

// Below 2^-126 the unit stays 2^-149. The ties at the edges:
//   2^-150 = 7.00649232162408535461864...e-46,
//   3 * 2^-150 = 2.101947696487225606385...e-45,
//   2^-126 - 2^-150 = 1.1754942807573642917...e-38 (below the least normal).
// Below the double range the result is zero as well.
TEST(NumberRule, SubnormalsAndUnderflow) {
  const SingleCase cases[] = {
      {"1e-45", 0x00000001},
      {"7.006492321624085354e-46", 0x00000000},
      {"7.006492321624085355e-46", 0x00000001},
      {"-7.006492321624085355e-46", 0x80000001},
      {"2.101947696487225606e-45", 0x00000001},
      {"2.101947696487225607e-45", 0x00000002},
      {"1.1754942e-38", 0x007FFFFF},
      {"1.175494280757364291e-38", 0x007FFFFF},
      {"1.175494280757364292e-38", 0x00800000},
      {"1e-46", 0x00000000},
      {"-1e-46", 0x80000000},
      {"1e-400", 0x00000000},
      {"-1e-400", 0x80000000},
  };
  expect_all(cases);
}

// The largest float's upper tie, 2^128 - 2^103 =
// 340282356779733661637539395458142568448, is cut to lie below itself.
// Exponents that wrap a 32- or 64-bit integer must not come back small.
TEST(NumberRule, HugeValuesAndOverflow) {
  const SingleCase cases[] = {
      {"1e38", 0x7E967699},
      {"3.4028234663852886e38", 0x7F7FFFFF},
      {"340282346638528859811704183484516925440", 0x7F7FFFFF},
      {"340282356779733661637539395458142568448", 0x7F7FFFFF},
      {"3.402823567797336616e38", 0x7F7FFFFF},
      {"3.402823567797336617e38", 0x7F800000},
      {"-3.402823567797336617e38", 0xFF800000},
      {"1e39", 0x7F800000},
      {"1.8e308", 0x7F800000},
      {"-1e4000", 0xFF800000},
      {"1e4294967296", 0x7F800000},
      {"1e-4294967295", 0x00000000},
      {"1e18446744073709551617", 0x7F800000},
      {"-1e99999999999999999999999", 0xFF800000},
      {"1e-99999999999999999999999", 0x00000000},
      {"0e99999999999999999999999", 0x00000000},
  };
  expect_all(cases);
}

// A sign stays on zero results: "-" alone and "-0" are minus zero.
TEST(NumberRule, SignsAndMinusZero) {
  const SingleCase cases[] = {
      {"-0", 0x80000000},    {"+0", 0x00000000},    {"-0.0e5", 0x80000000},
      {"-0.75", 0xBF400000}, {"+0.75", 0x3F400000}, {"-.5", 0xBF000000},
      {"--5", 0x80000000},   {"-+5", 0x80000000},   {"+-5", 0x00000000},
      {"- 5", 0x80000000},   {"-", 0x80000000},     {"+", 0x00000000},
  };
  expect_all(cases);
}

// The words count only in capitals and only right after a sign.
TEST(NumberRule, InfinityAndNanOnlyAfterSign) {
  const SingleCase cases[] = {
      {"+INF", 0x7F800000},      {"-INF", 0xFF800000}, {" -INF", 0xFF800000},
      {"+INFINITY", 0x7F800000}, {"INF", 0x00000000},  {"inf", 0x00000000},
      {"+inf", 0x00000000},      {"-inf", 0x80000000}, {"+Inf", 0x00000000},
      {"+ INF", 0x00000000},     {"+IN", 0x00000000},  {"NAN", 0x00000000},
      {"-nan", 0x80000000},      {"+NA", 0x00000000},  {"-NXN", 0x80000000},
  };
  expect_all(cases);
  for (const char *text : {"+NAN", "-NAN"}) {
    float value = to_single(text);
    EXPECT_TRUE(std::isnan(value)) << text;
    EXPECT_EQ(std::signbit(value), text[0] == '-') << text;
  }
}

// Only 0x09-0x0D and space are white space; the C library's locale is not
// consulted, so a no-break space or a backspace ends the number at once.
TEST(NumberRule, LeadingWhiteSpace) {
  const SingleCase cases[] = {
      {"\t7", 0x40E00000},   {"\n7", 0x40E00000},   {"\v7", 0x40E00000},
      {"\f7", 0x40E00000},   {"\r7", 0x40E00000},   {" \t\r\n 7", 0x40E00000},
      {"\b7", 0x00000000},   {"\0167", 0x00000000}, // 0x08, 0x0E
      {"\0347", 0x00000000}, {"\2407", 0x00000000}, // 0x1C, 0xA0
  };
  expect_all(cases);
}

// The number ends at the first byte that can't continue it, and an "e"
// without digits is no exponent.
TEST(NumberRule, TextAfterNumber) {
  const SingleCase cases[] = {
      {"0.75g", 0x3F400000},   {"-48C", 0xC2400000},   {"23mR", 0x41B80000},
      {"12.5e1x", 0x42FA0000}, {"1e", 0x3F800000},     {"1e+", 0x3F800000},
      {"1e-x", 0x3F800000},    {"1E2", 0x42C80000},    {"1e2.5", 0x42C80000},
      {"1.5.5", 0x3FC00000},   {"5.", 0x40A00000},     {"1 2", 0x3F800000},
      {"1ee2", 0x3F800000},    {"0.75\n", 0x3F400000}, {"1x10", 0x3F800000},
  };
  expect_all(cases);
}

// Texts with no number read 0 (minus zero after "-"); hex is not a number.
TEST(NumberRule, TextsWithoutNumber) {
  const SingleCase cases[] = {
      {"", 0x00000000},      {"?", 0x00000000},    {".", 0x00000000},
      {"-.", 0x80000000},    {".e5", 0x00000000},  {"e5", 0x00000000},
      {"abc", 0x00000000},   {"0x10", 0x00000000}, {"-0x10", 0x80000000},
      {"0X1p3", 0x00000000},
  };
  expect_all(cases);
}
