// Checks every float bit pattern (or a slice of them) on both cores:
//
//   exhaustive_check round-trip   "%.9g" and "%.17g" of each finite float
//                                 read back with to_single give its bits
//   exhaustive_check format       format_fixed of each finite float below
//                                 1e19 equals glibc's "%.2f" and "%.0f", the
//                                 sign dropped where only zeros show
//                                 (format_oracle.h)
//
// VORN_EXHAUSTIVE_SLICE=FIRST-LAST (hexadecimal bit patterns, inclusive)
// picks a part of the 2^32 patterns, so that the run can be split. Progress
// and the time taken go to standard output; the exit status is 1 when any
// pattern fails.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "float_bits.h"
#include "format_oracle.h"
#include "text_input.h"

namespace {

constexpr std::uint64_t CHUNK = 1 << 16;
constexpr int THREAD_COUNT = 2;
constexpr std::uint64_t REPORTED_MAX = 20;

std::uint64_t slice_first = 0;
std::uint64_t slice_last = 0xFFFFFFFF;
bool check_format = false;

std::atomic<std::uint64_t> next_chunk{0};
std::atomic<std::uint64_t> patterns_done{0};
std::atomic<std::uint64_t> failures{0};
std::mutex report_lock;

// Prints "MISMATCH <bits> (<hex float> = <decimal>): <what> "<text>" <result>".
void report(std::uint32_t bits, const char *what, const char *text,
            const char *result) {
  if (failures.fetch_add(1) >= REPORTED_MAX)
    return;
  std::lock_guard<std::mutex> hold(report_lock);
  std::printf("MISMATCH %s: %s \"%s\" %s\n",
              float_text(float_from_bits(bits)).text, what, text, result);
}

void check_round_trip(std::uint32_t bits) {
  float value = float_from_bits(bits);
  if (!std::isfinite(value))
    return;
  static const char *const FORMATS[2] = {"%.9g", "%.17g"};
  for (const char *format : FORMATS) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(value));
    std::uint32_t back = float_bits(to_single(text));
    if (back != bits) {
      char got[32];
      std::snprintf(got, sizeof got, "gave 0x%08X",
                    static_cast<unsigned>(back));
      report(bits, "to_single of", text, got);
    }
  }
}

void check_fixed(std::uint32_t bits) {
  float value = float_from_bits(bits);
  if (!std::isfinite(value) || std::fabs(value) >= 1e19f)
    return;
  for (int decimals = 2; decimals >= 0; decimals -= 2) {
    char expected[ORACLE_FIXED_SIZE];
    oracle_format_fixed(expected, value, decimals);
    char ours[FIXED_TEXT_SIZE];
    format_fixed(ours, value, decimals);
    if (std::strcmp(ours, expected) != 0) {
      char wanted[ORACLE_FIXED_SIZE + 32];
      std::snprintf(wanted, sizeof wanted, "where glibc wrote \"%s\"",
                    expected);
      report(bits,
             decimals == 2 ? "format_fixed(2) wrote" : "format_fixed(0) wrote",
             ours, wanted);
    }
  }
}

void work() {
  std::uint64_t count = slice_last - slice_first + 1;
  for (;;) {
    std::uint64_t start = next_chunk.fetch_add(CHUNK);
    if (start >= count)
      return;
    std::uint64_t end = start + CHUNK < count ? start + CHUNK : count;
    for (std::uint64_t i = start; i < end; ++i) {
      auto bits = static_cast<std::uint32_t>(slice_first + i);
      if (check_format)
        check_fixed(bits);
      else
        check_round_trip(bits);
    }
    patterns_done.fetch_add(end - start);
  }
}

bool read_slice(const char *text) {
  char *end;
  unsigned long long first = std::strtoull(text, &end, 16);
  if (*end != '-')
    return false;
  unsigned long long last = std::strtoull(end + 1, &end, 16);
  if (*end != '\0' || first > last || last > 0xFFFFFFFFu)
    return false;
  slice_first = first;
  slice_last = last;
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2 || (std::strcmp(argv[1], "round-trip") != 0 &&
                    std::strcmp(argv[1], "format") != 0)) {
    std::fprintf(stderr, "use: %s round-trip|format\n", argv[0]);
    return 2;
  }
  check_format = std::strcmp(argv[1], "format") == 0;
  const char *slice = std::getenv("VORN_EXHAUSTIVE_SLICE");
  if (slice != nullptr && !read_slice(slice)) {
    std::fprintf(stderr, "VORN_EXHAUSTIVE_SLICE must be FIRST-LAST in hex\n");
    return 2;
  }
  std::uint64_t count = slice_last - slice_first + 1;
  std::printf("%s: patterns 0x%08llX-0x%08llX (%llu), %d threads\n", argv[1],
              static_cast<unsigned long long>(slice_first),
              static_cast<unsigned long long>(slice_last),
              static_cast<unsigned long long>(count), THREAD_COUNT);
  std::fflush(stdout);

  auto started = std::chrono::steady_clock::now();
  auto seconds_since = [&started] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                         started)
        .count();
  };
  std::thread workers[THREAD_COUNT];
  for (std::thread &worker : workers)
    worker = std::thread(work);
  double next_report = 30;
  while (patterns_done.load() < count) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (seconds_since() >= next_report) {
      std::uint64_t done = patterns_done.load();
      double elapsed = seconds_since();
      std::printf("  %5.1f%% after %.0f s, about %.0f s to go\n",
                  100.0 * static_cast<double>(done) /
                      static_cast<double>(count),
                  elapsed,
                  elapsed * static_cast<double>(count - done) /
                      static_cast<double>(done > 0 ? done : 1));
      std::fflush(stdout);
      next_report += 30;
    }
  }
  for (std::thread &worker : workers)
    worker.join();
  std::printf("%s: %llu patterns in %.1f s, %llu mismatches\n", argv[1],
              static_cast<unsigned long long>(count), seconds_since(),
              static_cast<unsigned long long>(failures.load()));
  return failures.load() == 0 ? 0 : 1;
}
