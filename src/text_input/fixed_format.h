// Fixed-point printing of single-precision values, with the same digits on
// every platform. It differs from printf's "%1.2f" and "%1.0f" on purpose:
// see format_fixed.
#ifndef VORN_FIXED_FORMAT_H
#define VORN_FIXED_FORMAT_H

#include <cstddef>

// The longest text that format_fixed writes: a sign, 40 digits and a
// point, with room to spare.
constexpr std::size_t FIXED_TEXT_SIZE = 48;

// Writes `value` in fixed-point notation with `decimals` places (0 to 9):
// its exact digits rounded to nearest, ties to even, as glibc's
// "%1.<decimals>f" gives them below 1e19. Unlike printf, a result that
// rounds to zero has no sign; from 1e19 up only the first 19 significant
// digits are exact and the rest print as 0, and the digits never number
// more than 40 (decimals are dropped to keep to that); infinities print as
// "+INF"/"-INF", NaNs as "+NAN"/"-NAN". A float widens to double exactly,
// so this is also what the widened value prints as. Returns the length
// written to `out`, which holds FIXED_TEXT_SIZE bytes; the text is
// zero-terminated.
std::size_t format_fixed(char *out, float value, int decimals);

#endif
