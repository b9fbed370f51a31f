// The number rule: how text becomes a single-precision value, the same way
// for the limits on the command line and the values in planet files.
#ifndef VORN_NUMBER_RULE_H
#define VORN_NUMBER_RULE_H

#include <cstdint>
#include <cstring>

// Leading white space, an optional sign, decimal digits with at most one
// point, an optional exponent; whatever follows is ignored, and text with no
// number reads as 0 (minus zero after "-"). "+INF", "-INF", "+NAN" and
// "-NAN" are read only with their sign. Of the digits only the first 19
// significant ones count. The exact value is rounded to a 64-bit significand
// and that once more to single precision, both times to nearest with ties to
// even; the bits are the same on every platform. `text` must be
// zero-terminated.
float to_single(const char *text);

// The IEEE single-precision layout, shared with the printer.
constexpr std::uint32_t SIGN_BIT = 0x80000000u;
constexpr std::uint32_t INFINITY_BITS = 0x7F800000u;
constexpr std::uint32_t QUIET_NAN_BITS = 0x7FC00000u;

inline std::uint32_t float_bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float float_from_bits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

#endif
