// Reads arbitrary bytes (up to their first zero byte) with to_single and
// compares the bits with the strtold oracle; any difference aborts. Two NaNs
// agree when their signs do.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "number_oracle.h"
#include "text_input.h"

namespace {

std::uint32_t bits_of(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  if (!oracle_is_exact()) {
    std::fprintf(stderr, "the strtold oracle needs the x87 long double\n");
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  float ours = to_single(text.data());
  float expected = oracle_to_single(text.data());
  bool same = std::isnan(ours) && std::isnan(expected)
                  ? std::signbit(ours) == std::signbit(expected)
                  : bits_of(ours) == bits_of(expected);
  if (!same) {
    std::fprintf(
        stderr, "to_single(\"%s\") = 0x%08X (%.9g), oracle 0x%08X (%.9g)\n",
        text.data(), static_cast<unsigned>(bits_of(ours)),
        static_cast<double>(ours), static_cast<unsigned>(bits_of(expected)),
        static_cast<double>(expected));
    std::abort();
  }
  return 0;
}
