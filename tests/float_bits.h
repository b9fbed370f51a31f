// Bit casts between a float and its IEEE bits, for the tests that compare
// results bit for bit: equal floats can differ (minus zero, NaN payloads)
// and different spellings can hide equal bits.
#ifndef VORN_TESTS_FLOAT_BITS_H
#define VORN_TESTS_FLOAT_BITS_H

#include <cstdint>
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

#endif
