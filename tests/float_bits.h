// Bit casts between a float and its IEEE bits, for the tests and fuzz
// harnesses that compare results bit for bit: equal floats can differ (minus
// zero, NaN payloads) and different spellings can hide equal bits.
#ifndef VORN_TESTS_FLOAT_BITS_H
#define VORN_TESTS_FLOAT_BITS_H

#include <cstdint>
#include <cstdio>
#include <cstring>

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

// A float spelled for a failure message, as "0x3F800000 (0x1p+0 = 1)": its
// bits, then the value in hexadecimal (exact) and in decimal (nine digits,
// enough to tell any two floats apart).
struct FloatText {
  char text[64];
};

inline FloatText float_text(float value) {
  FloatText out;
  std::snprintf(out.text, sizeof out.text, "0x%08X (%a = %.9g)",
                static_cast<unsigned>(float_bits(value)),
                static_cast<double>(value), static_cast<double>(value));
  return out;
}

#endif
