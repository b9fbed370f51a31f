// Checks format_fixed against the glibc reference of format_oracle.h on
// arbitrary float bits, with two and with no decimals (the reference keeps
// to 40 digits, so matching it bounds the digits too); the length returned
// must be the length written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "float_bits.h"
#include "format_oracle.h"
#include "text_input.h"

namespace {

[[noreturn]] void mismatch(float value, int decimals, const char *ours,
                           const char *expected) {
  std::fprintf(stderr, "format_fixed(%s, %d) wrote \"%s\", expected \"%s\"\n",
               float_text(value).text, decimals, ours, expected);
  std::abort();
}

void check(float value, int decimals) {
  char ours[FIXED_TEXT_SIZE + 16];
  std::memset(ours, 'x', sizeof ours);
  std::size_t length = format_fixed(ours, value, decimals);
  if (length >= FIXED_TEXT_SIZE || std::strlen(ours) != length)
    mismatch(value, decimals, "(bad length)", "");

  char expected[ORACLE_FIXED_SIZE];
  oracle_format_fixed(expected, value, decimals);
  if (std::strcmp(ours, expected) != 0)
    mismatch(value, decimals, ours, expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // Every whole group of four bytes is one float.
  for (std::size_t at = 0; at + 4 <= size && at < 256; at += 4) {
    std::uint32_t bits;
    std::memcpy(&bits, data + at, sizeof bits);
    float value = float_from_bits(bits);
    check(value, 2);
    check(value, 0);
  }
  return 0;
}
