// Bit casts between a float and its IEEE bits, for the tests and fuzz
// harnesses that compare results bit for bit: equal floats can differ (minus
// zero, NaN payloads) and different spellings can hide equal bits. The casts
// themselves are the program's own, from the number rule's header.
#ifndef VORN_TESTS_FLOAT_BITS_H
#define VORN_TESTS_FLOAT_BITS_H

#include <cstdint>
#include <cstdio>

#include "text_input/number_rule.h"

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
