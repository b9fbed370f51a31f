// Exact unsigned arithmetic in 32-bit limbs, for the number rule (decimal to
// binary) and the fixed-point printer (binary to decimal).
#ifndef VORN_BIG_NUMBER_H
#define VORN_BIG_NUMBER_H

#include <cstdint>

// The number rule never needs more than about 280 bits (10^64 shifted by 63
// places) and the printer 128 (the largest float); a shift briefly takes one
// limb more.
constexpr int BIG_LIMBS = 16;

// Least significant limb first.
struct BigNumber {
  std::uint32_t limb[BIG_LIMBS];
  int size; // limbs in use; the top one is nonzero, or size is 0
};

void big_set(BigNumber *x, std::uint64_t value);
void big_multiply_small(BigNumber *x, std::uint32_t factor);
// Divides in place and returns the remainder.
std::uint32_t big_divide_small(BigNumber *x, std::uint32_t divisor);
void big_multiply_power_of_ten(BigNumber *x, int power);
int big_bit_length(const BigNumber *x);
void big_shift_left(BigNumber *x, int shift);
// Negative, zero or positive as a is below, equal to or above b.
int big_compare(const BigNumber *a, const BigNumber *b);
// Divides a by b for a quotient known to lie below 2^64, and compares the
// remainder with half of b (negative, zero or positive in *against_half).
std::uint64_t big_divide_64(const BigNumber *a, const BigNumber *b,
                            int *against_half);

#endif
