// The random generator of the generated test inputs and of the benchmark's
// games (bench/generate.cpp): the same seed gives the same numbers on every
// platform, which the standard library's engines and distributions don't
// promise.
#ifndef VORN_TESTS_SPLITMIX64_H
#define VORN_TESTS_SPLITMIX64_H

#include <cstdint>

// splitmix64: a whole 64-bit state, every output from a full-period walk.
inline std::uint64_t next_random(std::uint64_t *state) {
  std::uint64_t z = (*state += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

// A number below `bound`; the bias of the remainder is far below what any
// user of these numbers could notice.
inline unsigned random_below(std::uint64_t *state, unsigned bound) {
  return static_cast<unsigned>(next_random(state) % bound);
}

#endif
