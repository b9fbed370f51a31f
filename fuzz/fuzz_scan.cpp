// Runs the whole scanner over arbitrary file contents and limits; it must
// come to an end without a crash or a sanitizer report. The first byte picks
// the limits, so that planets are listed often enough to reach the printer:
//   0: everything from -INF to +INF passes;
//   1: the next 24 bytes are the six limits' bits (NaNs and infinities too);
//   2: the first line holds six limits as text, read with to_single.
// The rest is the planet file. What the scanner prints goes to /dev/null.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "memory_file.h"
#include "planet_file.h"
#include "text_input.h"

namespace {

MemoryFile memory_file;

// Reads up to six space-separated words of `text[0, size)` as limits.
void limits_from_text(float *limits, const std::uint8_t *text,
                      std::size_t size) {
  char word[64];
  std::size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    std::size_t length = 0;
    while (at < size && text[at] != ' ' && text[at] != '\n') {
      if (length < sizeof word - 1)
        word[length++] = static_cast<char>(text[at]);
      ++at;
    }
    if (at < size)
      ++at;
    word[length] = '\0';
    limits[i] = to_single(word);
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  if (std::freopen("/dev/null", "w", stdout) == nullptr) {
    std::perror("/dev/null");
    std::abort();
  }
  memory_file_create(&memory_file, "vorn_fuzz_scan");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  if (size == 0)
    return 0;
  float limits[6] = {-INFINITY, INFINITY,  -INFINITY,
                     INFINITY,  -INFINITY, INFINITY};
  std::size_t skip = 1;
  if (data[0] % 3 == 1 && size >= 25) {
    std::memcpy(limits, data + 1, sizeof limits);
    skip = 25;
  } else if (data[0] % 3 == 2) {
    const void *feed = std::memchr(data + 1, '\n', size - 1);
    skip = feed != nullptr
               ? static_cast<std::size_t>(
                     static_cast<const std::uint8_t *>(feed) - data) +
                     1
               : size;
    limits_from_text(limits, data + 1, skip - 1);
  }

  memory_file_fill(&memory_file, data + skip, size > skip ? size - skip : 0);
  EnvironmentLimits environment = {limits[0], limits[1], limits[2],
                                   limits[3], limits[4], limits[5]};
  scan_report_file(memory_file.name, environment);
  std::fflush(stdout);
  return 0;
}
