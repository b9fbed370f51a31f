// Fixed-point printing of single-precision values, as "%1.2f" and "%1.0f"
// print them, with the same digits on every platform.
#ifndef VORN_FIXED_FORMAT_H
#define VORN_FIXED_FORMAT_H

#include <cstddef>

// The longest text that format_fixed writes: a sign, 40 digits and a
// point, with room to spare.
constexpr std::size_t FIXED_TEXT_SIZE = 48;

// Writes `value` in fixed-point notation with `decimals` places (0 to 9),
// as "%1.<decimals>f" prints it: exact digits rounded to nearest, ties to
// even; no sign on a result that rounds to zero. From 1e19 up only the
// first 19 significant digits are exact and the rest print as 0, and the
// digits never number more than 40 (decimals are dropped to keep to that).
// Infinities print as "+INF"/"-INF", NaNs as "+NAN"/"-NAN". A float widens
// to double exactly, so this is also what the widened value prints as.
// Returns the length written to `out`, which holds FIXED_TEXT_SIZE bytes;
// the text is zero-terminated.
std::size_t format_fixed(char *out, float value, int decimals);

#endif
