#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>

#include "float_bits.h"
#include "text_input.h"

namespace {

struct FixedCase {
  float value;
  int decimals;
  const char *text;
};

template <std::size_t N> void expect_all(const FixedCase (&cases)[N]) {
  for (const FixedCase &c : cases) {
    char out[FIXED_TEXT_SIZE];
    std::memset(out, '#', sizeof out);
    std::size_t length = format_fixed(out, c.value, c.decimals);
    EXPECT_STREQ(out, c.text) << "value " << float_text(c.value).text << ", "
                              << c.decimals << " decimals";
    EXPECT_EQ(length, std::strlen(c.text)) << c.text;
  }
}

} // namespace

// Exact binary fractions that sit on a tie at the last printed place.
TEST(FormatFixed, TiesGoToEven) {
  const FixedCase cases[] = {
      {0.125f, 2, "0.12"},
      {0.375f, 2, "0.38"},
      {0.625f, 2, "0.62"},
      {1.125f, 2, "1.12"},
      {0.5f, 0, "0"},
      {1.5f, 0, "2"},
      {2.5f, 0, "2"},
      {3.5f, 0, "4"},
      {-2.5f, 0, "-2"},
      {8388607.5f, 0, "8388608"},
      {4194304.5f, 0, "4194304"},
  };
  expect_all(cases);
}

// The float, not its decimal spelling, is rounded: these lie off the tie.
TEST(FormatFixed, RoundsTheExactFloatValue) {
  const FixedCase cases[] = {
      {1.345f, 2, "1.35"},           // 1.3450000286102294921875
      {2.675f, 2, "2.67"},           // 2.6749999523162841796875
      {0.015f, 2, "0.01"},           // 0.014999999664723873138427734375
      {0.025f, 2, "0.03"},           // 0.02500000037252902984619140625
      {1.005f, 2, "1.00"},           // 1.00499999523162841796875
      {9.995f, 2, "9.99"},           // 9.99499988555908203125
      {0.1f, 2, "0.10"},             // 0.100000001490116119384765625
      {123456.789f, 2, "123456.79"}, // 123456.7890625
      {0x1.fffffep-2f, 0, "0"},      // just under 0.5
  };
  expect_all(cases);
}

// Rounding up that runs through every digit adds one in front.
TEST(FormatFixed, CarriesIntoNewDigit) {
  const FixedCase cases[] = {
      {0.995f, 2, "1.00"},        // 0.99500000476837158203125
      {99.995f, 2, "100.00"},     // 99.99500274658203125
      {9999.995f, 2, "10000.00"}, // 9999.9951171875
      {99.99999f, 2, "100.00"},   // 99.99999237060546875
      {9.5f, 0, "10"},
      {99.5f, 0, "100"},
      {999.5f, 0, "1000"},
      {-99.5f, 0, "-100"},
  };
  expect_all(cases);
}

// Whatever rounds to zero has no sign, minus zero included; -0.005f is
// -0.004999999888241291046142578125.
TEST(FormatFixed, ZeroResultsHaveNoSign) {
  const FixedCase cases[] = {
      {-0.0f, 0, "0"},      {-0.0f, 2, "0.00"},    {0.0f, 2, "0.00"},
      {-0.3f, 0, "0"},      {-0.5f, 0, "0"},       {-0.004f, 2, "0.00"},
      {-0.005f, 2, "0.00"}, {-0.006f, 2, "-0.01"}, {-0x1.000002p-1f, 0, "-1"},
  };
  expect_all(cases);
}

// From 1e19 up: 19 significant digits, rounded, then zeros; the decimals
// give way so that no more than 40 digits are printed.
TEST(FormatFixed, HugeValues) {
  const FixedCase cases[] = {
      {1e19f, 2, "9999999980506447872.00"}, // the last value printed exactly
      {0x1p63f, 2, "9223372036854775808.00"},
      // 10000001080018075648, the next float: 20 digits, the last rounded
      {float_from_bits(0x5F0AC724), 2, "10000001080018075650.00"},
      {0x1p64f, 0, "18446744073709551620"},    // 18446744073709551616
      {1e20f, 0, "100000002004087734300"},     // 100000002004087734272
      {1e21f, 2, "1000000020040877343000.00"}, // 1000000020040877342720
      // 2^68 = 295147905179352825856: the first digit dropped is a 5, and
      // more follow it, so it rounds up
      {0x1p68f, 0, "295147905179352825900"},
      // 99999996802856924650656260769173209088: 38 digits, two decimals
      {1e38f, 2, "99999996802856924650000000000000000000.00"},
      // 100000006944061726476491472742798852096: 39 digits, one decimal
      {float_from_bits(0x7E96769A), 2,
       "100000006944061726500000000000000000000.0"},
      // 340282346638528859811704183484516925440
      {FLT_MAX, 2, "340282346638528859800000000000000000000.0"},
      {FLT_MAX, 0, "340282346638528859800000000000000000000"},
      {-FLT_MAX, 2, "-340282346638528859800000000000000000000.0"},
  };
  expect_all(cases);
}

// Infinities and NaNs keep their sign, whatever the decimals.
TEST(FormatFixed, InfinitiesAndNans) {
  const float INFINITE = std::numeric_limits<float>::infinity();
  const FixedCase cases[] = {
      {INFINITE, 2, "+INF"},
      {-INFINITE, 0, "-INF"},
      {float_from_bits(0x7FC00000), 2, "+NAN"},
      {float_from_bits(0xFFC00000), 0, "-NAN"},
      {float_from_bits(0x7F800001), 2, "+NAN"}, // signalling NaN
  };
  expect_all(cases);
}

// Subnormals are far below the last printed place of either width.
TEST(FormatFixed, Subnormals) {
  const FixedCase cases[] = {
      {float_from_bits(0x00000001), 2, "0.00"},
      {float_from_bits(0x80000001), 0, "0"},
      {float_from_bits(0x007FFFFF), 2, "0.00"},
      {FLT_MIN, 0, "0"},
  };
  expect_all(cases);
}
