// Reads arbitrary bytes (up to their first zero byte) with to_single and
// compares the bits with the strtold oracle; any difference aborts. Two NaNs
// agree when their signs do.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "float_bits.h"
#include "number_oracle.h"
#include "text_input.h"

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
                  : float_bits(ours) == float_bits(expected);
  if (!same) {
    std::fprintf(stderr, "to_single(\"%s\") = %s, oracle %s\n", text.data(),
                 float_text(ours).text, float_text(expected).text);
    std::abort();
  }
  return 0;
}
