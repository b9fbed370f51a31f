// The same bits on every platform: runs to_single and format_fixed over
// 1,050,000 generated inputs and hashes every result. The hash must equal
// EXPECTED_HASH on every build; a build whose arithmetic, byte order or C
// library changes one bit of one result shows up here.
//
//   vorn_same_bits [<reference-dump>]
//   vorn_same_bits --dump
//
// --dump writes one line per input instead ("<index> <input> <bits>
// <fixed 0> <fixed 2>"). Given the dump of a build whose hash is right,
// a build whose hash is wrong names the first input it gets wrong.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "float_bits.h"
#include "number_inputs.h"
#include "text_input.h"

namespace {

// Change only with the number rule or the output format, to the hash that
// the native build prints.
constexpr std::uint64_t EXPECTED_HASH = 0xA1AB87ACF400A38Du;

constexpr int DIGIT_TEXTS = 400000;
constexpr int MIDPOINTS = 150000; // three texts each
constexpr int FLOAT_SAMPLES = 200000;
constexpr std::size_t RESULT_SIZE = 256;

// FNV-1a over the bytes of each result line.
void hash_text(std::uint64_t *hash, const char *text) {
  for (; *text != '\0'; ++text) {
    *hash ^= static_cast<unsigned char>(*text);
    *hash *= 0x100000001B3u;
  }
}

// One result line: the input, the bits that to_single reads from `text`,
// and `value` printed with 0 and 2 decimals. The bits go through printf as
// a number, so byte order never enters the line.
void result_line(char *out, long index, const char *input, const char *text,
                 float value) {
  char fixed0[FIXED_TEXT_SIZE];
  char fixed2[FIXED_TEXT_SIZE];
  format_fixed(fixed0, value, 0);
  format_fixed(fixed2, value, 2);
  std::snprintf(out, RESULT_SIZE, "%ld %s %08" PRIX32 " %s %s", index, input,
                float_bits(to_single(text)), fixed0, fixed2);
}

// Hands every input's result line to `use`, in a fixed order: digit texts,
// midpoint texts (their own values printed), then float bit patterns
// (printed, and read back from their two-decimal text).
template <typename Use> void for_each_result(Use use) {
  std::uint64_t state = 20240611;
  char line[RESULT_SIZE];
  long index = 0;
  for (int i = 0; i < DIGIT_TEXTS; ++i) {
    std::string text = random_digits_text(&state);
    result_line(line, index, text.c_str(), text.c_str(),
                to_single(text.c_str()));
    use(index++, line);
  }
  for (int i = 0; i < MIDPOINTS; ++i) {
    std::string texts[3];
    midpoint_texts(&state, texts);
    for (const std::string &text : texts) {
      result_line(line, index, text.c_str(), text.c_str(),
                  to_single(text.c_str()));
      use(index++, line);
    }
  }
  for (int i = 0; i < FLOAT_SAMPLES; ++i) {
    std::uint32_t bits = static_cast<std::uint32_t>(next_random(&state));
    float value = float_from_bits(bits);
    char input[16];
    char fixed2[FIXED_TEXT_SIZE];
    std::snprintf(input, sizeof input, "0x%08" PRIX32, bits);
    format_fixed(fixed2, value, 2);
    result_line(line, index, input, fixed2, value);
    use(index++, line);
  }
}

// Names the first input whose line differs from the reference dump's.
int compare_with(const char *reference_name) {
  std::FILE *reference = std::fopen(reference_name, "r");
  if (reference == nullptr) {
    std::printf("cannot open the reference dump %s\n", reference_name);
    return 1;
  }
  bool found = false;
  for_each_result([&](long, const char *line) {
    if (found)
      return;
    char expected[RESULT_SIZE];
    if (std::fgets(expected, sizeof expected, reference) == nullptr)
      expected[0] = '\0';
    expected[std::strcspn(expected, "\r\n")] = '\0';
    if (std::strcmp(line, expected) != 0) {
      std::printf("first difference from %s:\n  here:      %s\n"
                  "  reference: %s\n",
                  reference_name, line, expected);
      found = true;
    }
  });
  std::fclose(reference);
  if (!found)
    std::printf("no input differs from %s: is it this build's own dump?\n",
                reference_name);
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--dump") == 0) {
    for_each_result([](long, const char *line) { std::printf("%s\n", line); });
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::uint64_t hash = 0xCBF29CE484222325u;
  long inputs = 0;
  for_each_result([&](long, const char *line) {
    hash_text(&hash, line);
    hash_text(&hash, "\n");
    ++inputs;
  });
  std::printf("hash 0x%016" PRIX64 " over %ld inputs\n", hash, inputs);
  if (hash == EXPECTED_HASH)
    return 0;
  std::printf("expected 0x%016" PRIX64 "\n", EXPECTED_HASH);
  if (argc == 2)
    return compare_with(argv[1]);
  std::printf("to name the first input that differs, give this check the "
              "output of `vorn_same_bits --dump` of a build that passes\n");
  return 1;
}
