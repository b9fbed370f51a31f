#include "number_rule.h"

#include <cfloat>

#include "big_number.h"

namespace {

// Rounds significand * 2^exponent to single precision, ties to even, with
// subnormals. The significand must have its top bit set.
std::uint32_t round_to_single(std::uint64_t significand, int exponent) {
  int top = exponent + 63; // the value lies in [2^top, 2^(top + 1))
  if (top > 127)
    return INFINITY_BITS;
  // Normal results keep 24 bits. Below 2^-126 the quantum stays 2^-149,
  // so fewer bits survive; past 64 dropped bits even the top bit is gone.
  int dropped = top >= -126 ? 40 : -86 - top;
  if (dropped > 64)
    return 0;
  std::uint64_t kept = dropped == 64 ? 0 : significand >> dropped;
  std::uint64_t rest = dropped == 64
                           ? significand
                           : significand & ((std::uint64_t{1} << dropped) - 1);
  std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  if (rest > half || (rest == half && (kept & 1) != 0))
    ++kept;
  if (top < -126)
    return static_cast<std::uint32_t>(kept); // 2^23 here is the smallest normal
  // kept is in [2^23, 2^24]; adding it to the exponent field lets a carry
  // to 2^24 move up one binade, and past the top binade reach infinity.
  std::uint32_t bits =
      (static_cast<std::uint32_t>(top + 127) << 23) +
      static_cast<std::uint32_t>(kept - (std::uint64_t{1} << 23));
  return bits >= INFINITY_BITS ? INFINITY_BITS : bits;
}

// digits * 10^exponent rounded to a 64-bit significand (ties to even), then
// once more to single precision. `digits` is nonzero, below 10^19, and the
// value lies between 10^-46 and 10^40, so the numbers stay small.
[[gnu::noinline]] std::uint32_t decimal_to_single(std::uint64_t digits,
                                                  int exponent) {
  BigNumber numerator;
  BigNumber denominator;
  big_set(&numerator, digits);
  big_set(&denominator, 1);
  if (exponent >= 0)
    big_multiply_power_of_ten(&numerator, exponent);
  else
    big_multiply_power_of_ten(&denominator, -exponent);

  // Scale by 2^shift so that the quotient falls in [2^63, 2^64).
  int shift = 63 - (big_bit_length(&numerator) - big_bit_length(&denominator));
  if (shift > 0)
    big_shift_left(&numerator, shift);
  else
    big_shift_left(&denominator, -shift);
  BigNumber least = denominator;
  big_shift_left(&least, 63);
  if (big_compare(&numerator, &least) < 0) {
    big_shift_left(&numerator, 1);
    ++shift;
  }

  int against_half;
  std::uint64_t quotient =
      big_divide_64(&numerator, &denominator, &against_half);
  int binary_exponent = -shift;
  if (against_half > 0 || (against_half == 0 && (quotient & 1) != 0)) {
    if (++quotient == 0) { // carried into a new bit
      quotient = std::uint64_t{1} << 63;
      ++binary_exponent;
    }
  }
  return round_to_single(quotient, binary_exponent);
}

bool is_digit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// The powers of ten that a float holds exactly (5^10 < 2^24).
const float EXACT_POWERS[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The words that stand for a value of their own.
enum SpecialValue { NOT_SPECIAL, SPECIAL_INFINITY, SPECIAL_NAN };

// What the parse finds in the text, before any rounding: a sign, and
// either a special value or a decimal one.
struct DecimalNumber {
  bool negative;
  SpecialValue special;
  std::uint64_t digits;  // the first 19 significant digits; 0 for a zero
  int kept;              // how many of them, 0 to 19
  std::int64_t exponent; // the value is digits * 10^exponent
};

// Steps 1 to 4: the parse. Reads the number at the start of `at`, which is
// zero-terminated, into *number, and ignores whatever follows it.
void parse_decimal(const unsigned char *at, DecimalNumber *number) {
  // Step 1: leading white space, then an optional sign.
  while (*at == ' ' || (*at >= 0x09 && *at <= 0x0D))
    ++at;
  bool negative = false;
  bool has_sign = *at == '+' || *at == '-';
  if (has_sign)
    negative = *at++ == '-';
  number->negative = negative;
  number->special = NOT_SPECIAL;
  number->digits = 0;
  number->kept = 0;
  number->exponent = 0;

  // Step 2: the special words, numbers only directly after a sign and only
  // in capitals.
  if (has_sign && at[0] == 'I' && at[1] == 'N' && at[2] == 'F') {
    number->special = SPECIAL_INFINITY;
    return;
  }
  if (has_sign && at[0] == 'N' && at[1] == 'A' && at[2] == 'N') {
    number->special = SPECIAL_NAN;
    return;
  }

  // Step 3: digits with at most one point. Only the first 19 significant
  // digits are kept, which a 64-bit integer holds; later digits still move
  // the decimal point. Text without a digit is a zero, whatever follows.
  std::uint64_t digits = 0;
  int kept = 0;
  std::int64_t exponent = 0;
  bool any_digit = false;
  bool after_point = false;
  for (;; ++at) {
    if (is_digit(*at)) {
      any_digit = true;
      unsigned value = *at - '0';
      if (kept == 0 && value == 0) { // a leading zero is not significant
        exponent -= after_point;
      } else if (kept < 19) {
        digits = digits * 10 + value;
        ++kept;
        exponent -= after_point;
      } else {
        exponent += !after_point;
      }
    } else if (*at == '.' && !after_point) {
      after_point = true;
    } else {
      break;
    }
  }
  if (!any_digit)
    return;

  // Step 4: the exponent. An exponent without digits is no exponent. Past
  // a billion it saturates: any such value has long since become infinite
  // or zero.
  if (*at == 'e' || *at == 'E') {
    const unsigned char *mark = at + 1;
    bool exponent_negative = *mark == '-';
    if (*mark == '+' || *mark == '-')
      ++mark;
    if (is_digit(*mark)) {
      std::int64_t written = 0;
      for (; is_digit(*mark); ++mark)
        if (written < 1000000000)
          written = written * 10 + (*mark - '0');
      exponent += exponent_negative ? -written : written;
    }
  }
  number->digits = digits;
  number->kept = kept;
  number->exponent = exponent;
}

// Steps 5 to 7: the conversion of what the parse found to single precision.
float convert_decimal(const DecimalNumber *number) {
  std::uint32_t sign = number->negative ? SIGN_BIT : 0;
  std::uint64_t digits = number->digits;
  std::int64_t exponent = number->exponent;

  // Step 5: the special values, zero, and the values that lie far out of
  // range. A nonzero value lies in [10^(kept + exponent - 1),
  // 10^(kept + exponent)). From 10^39 up it is past the largest float
  // (about 3.4e38) by far; below 10^-46 it is under half the smallest
  // subnormal (about 7.0e-46).
  if (number->special == SPECIAL_INFINITY)
    return float_from_bits(sign | INFINITY_BITS);
  if (number->special == SPECIAL_NAN)
    return float_from_bits(sign | QUIET_NAN_BITS);
  if (digits == 0)
    return float_from_bits(sign);
  std::int64_t magnitude = number->kept + exponent;
  if (magnitude >= 40)
    return float_from_bits(sign | INFINITY_BITS);
  if (magnitude <= -46)
    return float_from_bits(sign);

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  // Step 6: the fast path, short numbers in one float operation. Both
  // operands are exact floats (digits < 2^24, 10^k with k <= 10), and the
  // one correctly rounded product or quotient is the same as rounding first
  // to 64 bits and then to single precision. docs/numbers.md gives the
  // proof. Where floats are evaluated in wider registers (x87) this is
  // skipped.
  if (digits < (std::uint64_t{1} << 24) && exponent >= -10 && exponent <= 10) {
    float whole = static_cast<float>(digits);
    float result = exponent < 0 ? whole / EXACT_POWERS[-exponent]
                                : whole * EXACT_POWERS[exponent];
    return number->negative ? -result : result;
  }
#endif

  // Step 7: the exact path, in big integers; the range checks of step 5
  // keep the exponent within an int.
  return float_from_bits(sign |
                         decimal_to_single(digits, static_cast<int>(exponent)));
}

} // namespace

float to_single(const char *text) {
  DecimalNumber number;
  parse_decimal(reinterpret_cast<const unsigned char *>(text), &number);
  return convert_decimal(&number);
}
