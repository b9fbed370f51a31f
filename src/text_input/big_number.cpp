#include "big_number.h"

namespace {

// Drops the zero limbs at the top, so that `size` keeps its invariant.
void big_trim(BigNumber *x) {
  while (x->size > 0 && x->limb[x->size - 1] == 0)
    --x->size;
}

} // namespace

void big_set(BigNumber *x, std::uint64_t value) {
  x->size = 0;
  while (value != 0) {
    x->limb[x->size++] = static_cast<std::uint32_t>(value);
    value >>= 32;
  }
}

void big_multiply_small(BigNumber *x, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (int i = 0; i < x->size; ++i) {
    std::uint64_t product = std::uint64_t{x->limb[i]} * factor + carry;
    x->limb[i] = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0)
    x->limb[x->size++] = static_cast<std::uint32_t>(carry);
}

std::uint32_t big_divide_small(BigNumber *x, std::uint32_t divisor) {
  std::uint64_t rest = 0;
  for (int i = x->size - 1; i >= 0; --i) {
    std::uint64_t part = (rest << 32) | x->limb[i];
    x->limb[i] = static_cast<std::uint32_t>(part / divisor);
    rest = part % divisor;
  }
  big_trim(x);
  return static_cast<std::uint32_t>(rest);
}

void big_multiply_power_of_ten(BigNumber *x, int power) {
  for (; power >= 9; power -= 9)
    big_multiply_small(x, 1000000000u);
  static const std::uint32_t SMALL_POWERS[9] = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  big_multiply_small(x, SMALL_POWERS[power]);
}

int big_bit_length(const BigNumber *x) {
  if (x->size == 0)
    return 0;
  int bits = 32 * (x->size - 1);
  for (std::uint32_t top = x->limb[x->size - 1]; top != 0; top >>= 1)
    ++bits;
  return bits;
}

// Reads limb[0 .. size - 1] alone. The limbs above size hold whatever they
// last held (big_set and big_trim leave them as they are, and a number on
// the stack starts with them unset), so they must not count.
void big_shift_left(BigNumber *x, int shift) {
  if (x->size == 0 || shift == 0)
    return;
  int whole = shift / 32;
  int part = shift % 32;
  int top = x->size - 1;
  // The bits pushed out of the top limb (none when part is 0).
  x->limb[top + whole + 1] =
      static_cast<std::uint32_t>((std::uint64_t{x->limb[top]} << part) >> 32);
  // Downwards, so that each limb is read before it is overwritten.
  for (int from = top; from >= 0; --from) {
    std::uint64_t low = from > 0 ? x->limb[from - 1] : 0;
    std::uint64_t pair = (std::uint64_t{x->limb[from]} << 32) | low;
    x->limb[from + whole] = static_cast<std::uint32_t>(pair >> (32 - part));
  }
  for (int i = 0; i < whole; ++i)
    x->limb[i] = 0;
  x->size += whole + 1;
  big_trim(x);
}

int big_compare(const BigNumber *a, const BigNumber *b) {
  if (a->size != b->size)
    return a->size < b->size ? -1 : 1;
  for (int i = a->size - 1; i >= 0; --i)
    if (a->limb[i] != b->limb[i])
      return a->limb[i] < b->limb[i] ? -1 : 1;
  return 0;
}

namespace {

const std::uint64_t BASE = std::uint64_t{1} << 32;

// Knuth's steps D3: the quotient limb of u[j .. j + n] by v (n limbs, top
// bit set), estimated from the top limbs and corrected against v's second
// limb. The part of u in hand is below v * BASE, so u's top limb is at most
// v's, and only when the two are equal can the guess reach BASE (or BASE +
// 1). The test against v's second limb then leaves it at most one too
// large, which subtract_limb_multiple mends. So a guess of exactly BASE
// that slipped through would still end as BASE - 1: the test `guess >
// BASE` would give the same quotient for every input, though to_single's
// inputs do reach that case (for example 9313225746154785156e-28, just
// below 2^-30). The full test keeps the multiplication there to guesses of
// 32 bits.
std::uint64_t estimate_limb(const BigNumber *u, const BigNumber *v, int j) {
  int n = v->size;
  std::uint64_t top =
      (std::uint64_t{u->limb[j + n]} << 32) | u->limb[j + n - 1];
  std::uint64_t guess = top / v->limb[n - 1];
  std::uint64_t rest = top % v->limb[n - 1];
  while (guess >= BASE || (n >= 2 && guess * v->limb[n - 2] >
                                         ((rest << 32) | u->limb[j + n - 2]))) {
    --guess;
    rest += v->limb[n - 1];
    if (rest >= BASE)
      break;
  }
  return guess;
}

// Knuth's steps D4 to D6: u[j .. j + n] -= guess * v; a borrow out of the
// top means the guess was still one too large, and v is added back once.
// Returns the quotient limb.
std::uint64_t subtract_limb_multiple(BigNumber *u, const BigNumber *v, int j,
                                     std::uint64_t guess) {
  int n = v->size;
  std::uint64_t carry = 0;
  std::int64_t borrow = 0;
  for (int i = 0; i < n; ++i) {
    std::uint64_t product = guess * v->limb[i] + carry;
    carry = product >> 32;
    std::int64_t difference = std::int64_t{u->limb[i + j]} -
                              static_cast<std::int64_t>(product & 0xFFFFFFFFu) -
                              borrow;
    borrow = difference < 0;
    u->limb[i + j] = static_cast<std::uint32_t>(difference);
  }
  std::int64_t difference =
      std::int64_t{u->limb[j + n]} - static_cast<std::int64_t>(carry) - borrow;
  u->limb[j + n] = static_cast<std::uint32_t>(difference);
  if (difference >= 0)
    return guess;
  std::uint64_t sum = 0;
  for (int i = 0; i < n; ++i) {
    sum = std::uint64_t{u->limb[i + j]} + v->limb[i] + (sum >> 32);
    u->limb[i + j] = static_cast<std::uint32_t>(sum);
  }
  u->limb[j + n] = static_cast<std::uint32_t>(u->limb[j + n] + (sum >> 32));
  return guess - 1;
}

} // namespace

// This is long division in 32-bit limbs, two quotient limbs, with each limb
// estimated from the top limbs and corrected (Knuth's algorithm D). Both
// numbers are first shifted so that b's top limb has its high bit set: the
// quotient stays the same, and the estimate is then at most two too large.
std::uint64_t big_divide_64(const BigNumber *a, const BigNumber *b,
                            int *against_half) {
  int n = b->size;
  int normalise = 0;
  for (std::uint32_t top = b->limb[n - 1]; top < 0x80000000u; top <<= 1)
    ++normalise;
  BigNumber v = *b;
  BigNumber u = *a;
  big_shift_left(&v, normalise);
  big_shift_left(&u, normalise);
  // GCOVR_EXCL_START: never runs, as to_single divides only numerators of
  // at least b * 2^63, which already fill all n + 2 limbs.
  for (int i = u.size; i < n + 2; ++i) // a < b * 2^64: at most n + 2 limbs
    u.limb[i] = 0;
  // GCOVR_EXCL_STOP

  std::uint64_t quotient = 0;
  for (int j = 1; j >= 0; --j) {
    std::uint64_t guess = estimate_limb(&u, &v, j);
    quotient = (quotient << 32) | subtract_limb_multiple(&u, &v, j, guess);
  }

  // The remainder is u[0 .. n - 1], scaled like v; twice it against v.
  u.size = n;
  big_trim(&u);
  big_shift_left(&u, 1);
  *against_half = big_compare(&u, &v);
  return quotient;
}
