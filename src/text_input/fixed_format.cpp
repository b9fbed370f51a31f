#include "fixed_format.h"

#include <cstdint>
#include <cstring>

#include "big_number.h"
#include "number_rule.h"

namespace {

const std::uint64_t TEN_TO_19 = 10000000000000000000u;
constexpr int PRINTED_DIGITS_MAX = 40;
constexpr int EXACT_DIGITS = 19;
// Chunks of nine digits in the largest float, 2^128 - 2^104 < 10^39.
constexpr int CHUNKS_MAX = 5;
constexpr int LARGE_DIGITS_MAX = CHUNKS_MAX * 9;

// Writes `value` in decimal with at least `width` digits (at most 9; the
// first digit is always written, so 1 asks for no zeros in front), and
// nothing after them: every caller writes a point or the final zero next.
// The digits come out last first, so they are made at the end of `made`
// and copied out whole.
std::size_t write_digits(char *out, std::uint64_t value, int width = 1) {
  char made[20]; // 2^64 has 20 digits
  char *end = made + sizeof made;
  char *first = end;
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 || end - first < width);
  std::size_t count = static_cast<std::size_t>(end - first);
  std::memcpy(out, first, count);
  return count;
}

// Writes a point and `count` zeros (nothing when `count` is 0 or less), then
// the terminating zero byte. Returns the length written from `out`.
std::size_t end_with_zero_decimals(const char *out, char *at, int count) {
  if (count > 0) {
    *at++ = '.';
    for (int i = 0; i < count; ++i)
      *at++ = '0';
  }
  *at = '\0';
  return static_cast<std::size_t>(at - out);
}

// Values below 10^19: the exact digits, rounded at the last place printed.
// `significand` < 2^24, so significand * 10^9 < 2^54 fits in 64 bits.
std::size_t format_small(char *out, bool negative, std::uint64_t significand,
                         int exponent, int decimals) {
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i)
    scale *= 10;
  char *at = out;
  if (exponent >= 0) {
    std::uint64_t whole = significand << exponent;
    if (negative) // a zero has exponent -149: here whole is never 0
      *at++ = '-';
    at += write_digits(at, whole);
    return end_with_zero_decimals(out, at, decimals);
  }

  // value * 10^decimals = scaled / 2^shift, rounded to an integer, ties to
  // even. Past 63 places the scaled value is under a half: it rounds to 0.
  std::uint64_t scaled = significand * scale;
  int shift = -exponent;
  std::uint64_t units = 0;
  if (shift < 64) {
    units = scaled >> shift;
    std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (units & 1) != 0))
      ++units;
  }
  if (negative && units != 0) // what rounds to zero prints without a sign
    *at++ = '-';
  at += write_digits(at, units / scale);
  if (decimals > 0) {
    *at++ = '.';
    at += write_digits(at, units % scale, decimals);
  }
  *at = '\0';
  return static_cast<std::size_t>(at - out);
}

// The decimal digits of `value` (not 0, below 10^39), made nine at a time
// from the last one back, at the end of `made`, which holds LARGE_DIGITS_MAX
// bytes: they fill it to its last byte, so no byte after them is there to
// be read. Returns where the first nonzero digit is; `value` ends as 0.
char *write_large_digits(BigNumber *value, char *made) {
  char *digits = made + LARGE_DIGITS_MAX;
  do {
    std::uint32_t chunk = big_divide_small(value, 1000000000u);
    for (int i = 0; i < 9; ++i) {
      *--digits = static_cast<char>('0' + chunk % 10);
      chunk /= 10;
    }
  } while (value->size > 0);
  while (*digits == '0') // value is not 0: a digit isn't either
    ++digits;
  return digits;
}

// Rounds the `*count` digits (at least 20) to their first 19, to nearest
// with ties to even, and sets the rest to 0. Returns where the digits
// begin, one place earlier after a carry into a new digit: there is room,
// as a float has at most 39 digits and write_large_digits 45 places.
char *round_to_exact_digits(char *digits, int *count) {
  char first_dropped = digits[EXACT_DIGITS];
  bool rest_nonzero = false;
  for (int i = EXACT_DIGITS + 1; i < *count; ++i)
    rest_nonzero |= digits[i] != '0';
  bool up = first_dropped > '5' ||
            (first_dropped == '5' &&
             // GCOVR_EXCL_START: the test of parity never runs, as no float
             // from 10^19 up lies on a tie: a tie is an odd multiple of
             // 5 * 10^k with k <= 19, and such a float a multiple of 2^40.
             (rest_nonzero || (digits[EXACT_DIGITS - 1] - '0') % 2 != 0));
  // GCOVR_EXCL_STOP
  for (int i = EXACT_DIGITS; i < *count; ++i)
    digits[i] = '0';
  if (!up)
    return digits;
  int i = EXACT_DIGITS - 1;
  while (i >= 0 && digits[i] == '9')
    digits[i--] = '0';
  if (i >= 0) {
    ++digits[i];
    return digits;
  }
  // 999...9 became 000...0: a 1 goes in front, one digit longer.
  // GCOVR_EXCL_START: never runs, as no float from 10^19 up begins with
  // more than eight nines (the one below each power of ten has the most),
  // let alone 19.
  *--digits = '1';
  ++*count;
  return digits;
  // GCOVR_EXCL_STOP
}

// Values from 10^19 up are integers (their exponent is at least 40). Only the
// first 19 significant digits are exact, rounded to nearest with ties to
// even; the rest print as 0, and decimals give way so that no more than 40
// digits are printed.
std::size_t format_large(char *out, bool negative, std::uint64_t significand,
                         int exponent, int decimals) {
  BigNumber value;
  big_set(&value, significand);
  big_shift_left(&value, exponent);
  char made[LARGE_DIGITS_MAX];
  char *digits = write_large_digits(&value, made);
  int count = static_cast<int>(made + sizeof made - digits);
  digits = round_to_exact_digits(digits, &count);

  int shown_decimals = PRINTED_DIGITS_MAX - count;
  if (shown_decimals > decimals)
    shown_decimals = decimals;
  char *at = out;
  if (negative)
    *at++ = '-';
  std::memcpy(at, digits, static_cast<std::size_t>(count));
  at += count;
  return end_with_zero_decimals(out, at, shown_decimals);
}

} // namespace

std::size_t format_fixed(char *out, float value, int decimals) {
  std::uint32_t bits = float_bits(value);
  bool negative = (bits & SIGN_BIT) != 0;
  int biased = static_cast<int>((bits >> 23) & 0xFF);
  std::uint64_t fraction = bits & 0x7FFFFF;
  if (biased == 0xFF) {
    *out = negative ? '-' : '+';
    std::memcpy(out + 1, fraction != 0 ? "NAN" : "INF", 4);
    return 4;
  }
  std::uint64_t significand = biased == 0 ? fraction : fraction | (1u << 23);
  int exponent = biased == 0 ? -149 : biased - 150;
  bool small =
      exponent < 0 || (exponent <= 40 && (significand << exponent) < TEN_TO_19);
  return small ? format_small(out, negative, significand, exponent, decimals)
               : format_large(out, negative, significand, exponent, decimals);
}
