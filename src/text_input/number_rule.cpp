#include "number_rule.h"

#include <algorithm>
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
  int dropped = std::max(40, -86 - top);
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
// value lies between 10^-46 and 10^40, so the numbers stay small. Kept out
// of line: few values take this path, and inlined its big numbers would
// lengthen every call of to_single, which runs for each value read.
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
  // (A numerator equal to `least`, as for 16777216, scaled once more would
  // ask for the quotient 2^64: that comes out as 2^64 - 1 with a remainder
  // over half, which rounds up, carries to 2^63 and takes the extra shift
  // back; the same float either way.)
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

// Leading white space (space, and tab to carriage return), then an
// optional sign. Returns where the number proper begins; *has_sign tells
// whether a sign was read, as the special words need one.
const unsigned char *read_space_and_sign(const unsigned char *at,
                                         DecimalNumber *number,
                                         bool *has_sign) {
  while (*at == ' ' || (*at >= 0x09 && *at <= 0x0D))
    ++at;
  *has_sign = *at == '+' || *at == '-';
  number->negative = *at == '-';
  return *has_sign ? at + 1 : at;
}

// The special words, which only count in capitals. Each byte is looked at
// only while the ones before it match, so no byte past the zero is read.
SpecialValue read_special_word(const unsigned char *at) {
  if (at[0] == 'I' && at[1] == 'N' && at[2] == 'F')
    return SPECIAL_INFINITY;
  if (at[0] == 'N' && at[1] == 'A' && at[2] == 'N')
    return SPECIAL_NAN;
  return NOT_SPECIAL;
}

// Digits with at most one point. Only the first 19 significant digits are
// kept, which a 64-bit integer holds; later digits still move the decimal
// point. Text without a digit leaves the digits 0: a zero, whatever
// follows. Returns where the digits end.
const unsigned char *read_digits_and_point(const unsigned char *at,
                                           DecimalNumber *number) {
  bool after_point = false;
  for (;; ++at) {
    if (is_digit(*at)) {
      unsigned value = *at - '0';
      if (number->kept == 0 && value == 0) { // not significant
        number->exponent -= after_point;
      } else if (number->kept < 19) {
        number->digits = number->digits * 10 + value;
        ++number->kept;
        number->exponent -= after_point;
      } else {
        number->exponent += !after_point;
      }
    } else if (*at == '.' && !after_point) {
      after_point = true;
    } else {
      return at;
    }
  }
}

// An exponent: "e" or "E", an optional sign and digits; without digits it
// is no exponent. Past a billion it saturates: any such value has long
// since become infinite or zero.
void read_exponent(const unsigned char *at, DecimalNumber *number) {
  if (*at != 'e' && *at != 'E')
    return;
  ++at;
  bool negative = *at == '-';
  if (*at == '+' || *at == '-')
    ++at;
  std::int64_t written = 0;
  for (; is_digit(*at); ++at)
    if (written < 1000000000)
      written = written * 10 + (*at - '0');
  number->exponent += negative ? -written : written;
}

// Reads the number at the start of `at`, which is zero-terminated, and
// ignores whatever follows it.
DecimalNumber parse_decimal(const unsigned char *at) {
  DecimalNumber number = {false, NOT_SPECIAL, 0, 0, 0};
  bool has_sign;
  at = read_space_and_sign(at, &number, &has_sign);
  if (has_sign) {
    number.special = read_special_word(at);
    if (number.special != NOT_SPECIAL)
      return number;
  }
  at = read_digits_and_point(at, &number);
  read_exponent(at, &number);
  return number;
}

// The bits of what the parse found, rounded to single precision, without
// the sign: the caller sets the sign bit, for every kind of value alike.
std::uint32_t magnitude_bits(const DecimalNumber *number) {
  std::uint64_t digits = number->digits;
  std::int64_t exponent = number->exponent;
  if (number->special == SPECIAL_INFINITY)
    return INFINITY_BITS;
  if (number->special == SPECIAL_NAN)
    return QUIET_NAN_BITS;
  if (digits == 0)
    return 0;
  // A nonzero value lies in [10^(kept + exponent - 1), 10^(kept +
  // exponent)). From 10^39 up it is past the largest float (about 3.4e38)
  // by far; below 10^-46 it is under half the smallest subnormal (about
  // 7.0e-46).
  std::int64_t magnitude = number->kept + exponent;
  if (magnitude >= 40)
    return INFINITY_BITS;
  if (magnitude <= -46) // at -46 the exact path would round to 0 as well
    return 0;

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  // The fast path, short numbers in one float operation. Both operands are
  // exact floats (digits < 2^24, 10^k with k <= 10), and the one correctly
  // rounded product or quotient is the same as rounding first to 64 bits
  // and then to single precision. docs/numbers.md gives the proof. Where
  // floats are evaluated in wider registers (x87) this is skipped.
  if (digits < (std::uint64_t{1} << 24) && exponent >= -10 && exponent <= 10) {
    float whole = static_cast<float>(digits);
    return float_bits(exponent < 0 ? whole / EXACT_POWERS[-exponent]
                                   : whole * EXACT_POWERS[exponent]);
  }
#endif

  // The exact path, in big integers; the range checks above keep the
  // exponent within an int.
  return decimal_to_single(digits, static_cast<int>(exponent));
}

} // namespace

float to_single(const char *text) {
  DecimalNumber number =
      parse_decimal(reinterpret_cast<const unsigned char *>(text));
  return float_from_bits((number.negative ? SIGN_BIT : 0) |
                         magnitude_bits(&number));
}
