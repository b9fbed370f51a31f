#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "text_input/big_number.h"

namespace {

// A number from its limbs, least significant first. The limbs above them
// are filled with ones, as a number reused on the stack may hold them: no
// operation may let them count.
BigNumber big_from(const std::vector<std::uint32_t> &limbs) {
  BigNumber x;
  for (std::uint32_t &limb : x.limb)
    limb = 0xFFFFFFFFu;
  x.size = static_cast<int>(limbs.size());
  for (std::size_t i = 0; i < limbs.size(); ++i)
    x.limb[i] = limbs[i];
  return x;
}

std::vector<std::uint32_t> limbs_of(const BigNumber &x) {
  return std::vector<std::uint32_t>(x.limb, x.limb + x.size);
}

} // namespace

// The length changes at the limb boundaries: the top limb counts in full
// only when its high bit is set, and the limbs below it always count 32.
TEST(BigNumber, BitLengthAtLimbBoundaries) {
  struct Case {
    std::vector<std::uint32_t> limbs;
    int bits;
  };
  const Case CASES[] = {
      {{}, 0},
      {{0x00000001}, 1},
      {{0xFFFFFFFF}, 32}, // fills one limb exactly
      {{0x00000000, 0x00000001}, 33},
      {{0xFFFFFFFF, 0xFFFFFFFF}, 64}, // two limbs
      {{0x00000000, 0x00000000, 0x00000001}, 65},
      {{0xFFFFFFFF, 0xFFFFFFFF, 0x80000000}, 96}, // three limbs
  };
  for (const Case &c : CASES) {
    BigNumber x = big_from(c.limbs);
    EXPECT_EQ(big_bit_length(&x), c.bits) << "size " << c.limbs.size();
  }
}

// Shifts by 0, 31, 32 and 33 bits: within a limb, a whole limb, and across
// one; the top limb's high bit and the low limb's low bit show whether a
// bit is lost at either end, and the ones above `size` any that creep in.
TEST(BigNumber, ShiftLeftAcrossLimbs) {
  struct Case {
    std::vector<std::uint32_t> limbs;
    int shift;
    std::vector<std::uint32_t> expected;
  };
  const Case CASES[] = {
      {{0x80000001}, 0, {0x80000001}},
      {{0x80000001}, 31, {0x80000000, 0x40000000}},
      {{0x80000001}, 32, {0x00000000, 0x80000001}},
      {{0x80000001}, 33, {0x00000000, 0x00000002, 0x00000001}},
      {{0x00000001, 0x80000000}, 1, {0x00000002, 0x00000000, 0x00000001}},
      {{0x00000003}, 63, {0x00000000, 0x80000000, 0x00000001}},
  };
  for (const Case &c : CASES) {
    BigNumber x = big_from(c.limbs);
    big_shift_left(&x, c.shift);
    EXPECT_EQ(limbs_of(x), c.expected) << "shift " << c.shift;
  }
}
