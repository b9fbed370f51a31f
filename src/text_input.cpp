#include "text_input.h"

#include <cerrno>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------------------
// Opening and reading planet files
// ---------------------------------------------------------------------------

namespace {

constexpr unsigned char CTRL_Z = 0x1A;

#ifdef _WIN32

int open_regular(const char *name) {
  int handle = _open(name, _O_RDONLY | _O_BINARY);
  if (handle < 0)
    return -1;
  struct _stat info;
  if (_fstat(handle, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    _close(handle);
    return -1;
  }
  return handle;
}

long read_block(int handle, unsigned char *block, std::size_t size) {
  return _read(handle, block, static_cast<unsigned>(size));
}

void close_handle(int handle) {
  _close(handle);
}

#else

// O_NONBLOCK keeps open() from waiting for a writer when the name is a FIFO;
// fstat then refuses everything that is not a regular file, so a FIFO, a
// terminal or /dev/zero is never read.
int open_regular(const char *name) {
  int handle = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (handle < 0)
    return -1;
  struct stat info;
  if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(handle);
    return -1;
  }
  fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK);
  return handle;
}

long read_block(int handle, unsigned char *block, std::size_t size) {
  for (;;) {
    ssize_t got = read(handle, block, size);
    if (got >= 0 || errno != EINTR)
      return static_cast<long>(got);
  }
}

void close_handle(int handle) {
  close(handle);
}

bool same_ignoring_case(const char *a, const char *b, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z')
      x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z')
      y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y)
      return false;
  }
  return true;
}

// Rewrites the component `path[start, start + length)` with the spelling
// found in the directory `path[0, start)`: the entry spelled exactly as
// asked if there is one, else the first in byte order of those that differ
// from it only in ASCII case. Case folding keeps the byte count, so the
// path never grows.
bool match_component(char *path, std::size_t start, std::size_t length) {
  char saved = path[start];
  path[start] = '\0';
  DIR *dir = opendir(start == 0 ? "." : path);
  path[start] = saved;
  if (dir == nullptr)
    return false;

  char best[256];
  bool found = false;
  const char *wanted = path + start;
  while (const dirent *entry = readdir(dir)) {
    const char *candidate = entry->d_name;
    if (std::strlen(candidate) != length ||
        !same_ignoring_case(candidate, wanted, length))
      continue;
    if (std::memcmp(candidate, wanted, length) == 0) {
      std::memcpy(best, candidate, length);
      found = true;
      break;
    }
    if (!found || std::memcmp(candidate, best, length) < 0)
      std::memcpy(best, candidate, length);
    found = true;
  }
  closedir(dir);
  if (found)
    std::memcpy(path + start, best, length);
  return found;
}

// The game's names are upper case and Windows finds them whatever their case
// on disk; here the file system tells case apart, so the path is resolved one
// component at a time. `path` is rewritten in place.
bool resolve_case(char *path) {
  std::size_t at = 0;
  for (;;) {
    while (path[at] == '/')
      ++at;
    if (path[at] == '\0')
      return true;
    std::size_t end = at;
    while (path[end] != '/' && path[end] != '\0')
      ++end;
    std::size_t length = end - at;
    bool dot = (length == 1 && path[at] == '.') ||
               (length == 2 && path[at] == '.' && path[at + 1] == '.');
    if (!dot && (length >= 256 || !match_component(path, at, length)))
      return false;
    at = end;
  }
}

#endif

} // namespace

bool open_report_file(ReportFile *file, const char *name) {
  int handle = open_regular(name);
#ifndef _WIN32
  if (handle < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    char resolved[4096];
    std::size_t length = std::strlen(name);
    if (length < sizeof resolved) {
      std::memcpy(resolved, name, length + 1);
      if (resolve_case(resolved))
        handle = open_regular(resolved);
    }
  }
#endif
  if (handle < 0)
    return false;
  file->handle = handle;
  file->at_end = false;
  file->failed = false;
  file->saw_ctrl_z = false;
  file->next = 0;
  file->count = 0;
  return true;
}

void close_report_file(ReportFile *file) {
  close_handle(file->handle);
  file->handle = -1;
}

namespace {

// Brings in the next block once the current one is used up. Returns false
// at the end of the file (or of its text, at a Ctrl-Z) and on a read error,
// with the indicators set.
bool fill_block(ReportFile *file) {
  for (;;) {
    if (file->saw_ctrl_z) {
      file->at_end = true;
      return false;
    }
    long got = read_block(file->handle, file->block, REPORT_BLOCK_SIZE);
    if (got <= 0) {
      file->failed = got < 0;
      file->at_end = true;
      return false;
    }
    std::size_t count = static_cast<std::size_t>(got);
    // The block is cut at its first Ctrl-Z, and no later read is made: the
    // text ends there even when the Ctrl-Z is the last byte of a block.
    const void *stop = std::memchr(file->block, CTRL_Z, count);
    if (stop != nullptr) {
      count = static_cast<std::size_t>(
          static_cast<const unsigned char *>(stop) - file->block);
      file->saw_ctrl_z = true;
    }
    file->next = 0;
    file->count = count;
    if (count > 0)
      return true;
  }
}

} // namespace

std::size_t read_report_line(char *line, std::size_t size, ReportFile *file) {
  std::size_t room = size - 1;
  std::size_t length = 0;
  bool complete = false;
  while (!complete && length < room) {
    if (file->next == file->count && !fill_block(file))
      break;
    const unsigned char *from = file->block + file->next;
    std::size_t span = file->count - file->next;
    if (span > room - length)
      span = room - length;
    // Carriage returns are dropped as they are copied, so a span may deliver
    // fewer bytes than it consumes; the loop then takes more.
    const void *feed = std::memchr(from, '\n', span);
    if (feed != nullptr) {
      span = static_cast<std::size_t>(static_cast<const unsigned char *>(feed) -
                                      from) +
             1;
      complete = true;
    }
    // The bytes between carriage returns go over in whole runs: a CR LF
    // line costs two runs, not a test per byte. The runs hold no more than
    // `span` bytes in all, so they fit in the room left.
    const unsigned char *run = from;
    const unsigned char *span_end = from + span;
    while (run < span_end) {
      const void *cr =
          std::memchr(run, '\r', static_cast<std::size_t>(span_end - run));
      const unsigned char *run_end =
          cr != nullptr ? static_cast<const unsigned char *>(cr) : span_end;
      std::size_t run_length = static_cast<std::size_t>(run_end - run);
      std::memcpy(line + length, run, run_length);
      length += run_length;
      run = run_end + (cr != nullptr); // past the carriage return, if any
    }
    file->next += span;
  }
  if (length == 0 || file->failed)
    return 0;
  line[length] = '\0';
  return length;
}

void skip_report_line_rest(ReportFile *file) {
  for (;;) {
    if (file->next == file->count && !fill_block(file))
      return;
    const unsigned char *from = file->block + file->next;
    std::size_t span = file->count - file->next;
    const void *feed = std::memchr(from, '\n', span);
    if (feed != nullptr) {
      file->next += static_cast<std::size_t>(
                        static_cast<const unsigned char *>(feed) - from) +
                    1;
      return;
    }
    file->next = file->count;
  }
}

// ---------------------------------------------------------------------------
// Exact arithmetic for the number rule and the printer
// ---------------------------------------------------------------------------

namespace {

// An unsigned integer in 32-bit limbs, least significant first. The number
// rule never needs more than about 280 bits (10^64 shifted by 63 places) and
// the printer 128 (the largest float); a shift briefly takes one limb more.
constexpr int BIG_LIMBS = 16;

struct BigNumber {
  std::uint32_t limb[BIG_LIMBS];
  int size; // limbs in use; the top one is nonzero, or size is 0
};

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

// Divides in place and returns the remainder.
std::uint32_t big_divide_small(BigNumber *x, std::uint32_t divisor) {
  std::uint64_t rest = 0;
  for (int i = x->size - 1; i >= 0; --i) {
    std::uint64_t part = (rest << 32) | x->limb[i];
    x->limb[i] = static_cast<std::uint32_t>(part / divisor);
    rest = part % divisor;
  }
  while (x->size > 0 && x->limb[x->size - 1] == 0)
    --x->size;
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

void big_shift_left(BigNumber *x, int shift) {
  if (x->size == 0 || shift == 0)
    return;
  int whole = shift / 32;
  int part = shift % 32;
  int size = x->size + whole + 1;
  for (int i = size - 1; i >= 0; --i) {
    int from = i - whole;
    std::uint64_t high = from >= 0 && from < x->size ? x->limb[from] : 0;
    std::uint64_t low =
        from - 1 >= 0 && from - 1 < x->size ? x->limb[from - 1] : 0;
    std::uint64_t pair = (high << 32) | low;
    x->limb[i] = static_cast<std::uint32_t>(pair >> (32 - part));
  }
  x->size = size;
  while (x->size > 0 && x->limb[x->size - 1] == 0)
    --x->size;
}

int big_compare(const BigNumber *a, const BigNumber *b) {
  if (a->size != b->size)
    return a->size < b->size ? -1 : 1;
  for (int i = a->size - 1; i >= 0; --i)
    if (a->limb[i] != b->limb[i])
      return a->limb[i] < b->limb[i] ? -1 : 1;
  return 0;
}

// Divides a by b for a quotient known to lie below 2^64, and compares the
// remainder with half of b (negative, zero or positive in *against_half).
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
  for (int i = u.size; i < n + 2; ++i) // a < b * 2^64: at most n + 2 limbs
    u.limb[i] = 0;

  const std::uint64_t BASE = std::uint64_t{1} << 32;
  std::uint64_t quotient = 0;
  for (int j = 1; j >= 0; --j) {
    std::uint64_t top =
        (std::uint64_t{u.limb[j + n]} << 32) | u.limb[j + n - 1];
    std::uint64_t guess = top / v.limb[n - 1];
    std::uint64_t rest = top % v.limb[n - 1];
    while (guess >= BASE ||
           (n >= 2 &&
            guess * v.limb[n - 2] > ((rest << 32) | u.limb[j + n - 2]))) {
      --guess;
      rest += v.limb[n - 1];
      if (rest >= BASE)
        break;
    }
    // u[j .. j + n] -= guess * v; a borrow out of the top means the guess
    // was still one too large, and v is added back once.
    std::uint64_t carry = 0;
    std::int64_t borrow = 0;
    for (int i = 0; i < n; ++i) {
      std::uint64_t product = guess * v.limb[i] + carry;
      carry = product >> 32;
      std::int64_t difference =
          std::int64_t{u.limb[i + j]} -
          static_cast<std::int64_t>(product & 0xFFFFFFFFu) - borrow;
      borrow = difference < 0;
      u.limb[i + j] = static_cast<std::uint32_t>(difference);
    }
    std::int64_t difference =
        std::int64_t{u.limb[j + n]} - static_cast<std::int64_t>(carry) - borrow;
    u.limb[j + n] = static_cast<std::uint32_t>(difference);
    if (difference < 0) {
      --guess;
      std::uint64_t sum = 0;
      for (int i = 0; i < n; ++i) {
        sum = std::uint64_t{u.limb[i + j]} + v.limb[i] + (sum >> 32);
        u.limb[i + j] = static_cast<std::uint32_t>(sum);
      }
      u.limb[j + n] = static_cast<std::uint32_t>(u.limb[j + n] + (sum >> 32));
    }
    quotient = (quotient << 32) | guess;
  }

  // The remainder is u[0 .. n - 1], scaled like v; twice it against v.
  u.size = n;
  while (u.size > 0 && u.limb[u.size - 1] == 0)
    --u.size;
  big_shift_left(&u, 1);
  *against_half = big_compare(&u, &v);
  return quotient;
}

// ---------------------------------------------------------------------------
// The number rule
// ---------------------------------------------------------------------------

std::uint32_t float_bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float float_from_bits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

constexpr std::uint32_t SIGN_BIT = 0x80000000u;
constexpr std::uint32_t INFINITY_BITS = 0x7F800000u;
constexpr std::uint32_t QUIET_NAN_BITS = 0x7FC00000u;

// Rounds significand * 2^exponent to single precision, ties to even, with
// subnormals. The significand must have its top bit set.
std::uint32_t round_to_single(std::uint64_t significand, int exponent) {
  int top = exponent + 63; // the value lies in [2^top, 2^(top + 1))
  if (top > 127)
    return INFINITY_BITS;
  // Normal results keep 24 bits. Below 2^-126 the quantum stays 2^-149,
  // so fewer bits survive; past 64 dropped bits even the top bit is gone.
  int dropped = top >= -126 ? 40 : -86 - top;
  if (dropped > 64)
    return 0;
  std::uint64_t kept = dropped == 64 ? 0 : significand >> dropped;
  std::uint64_t rest = dropped == 64
                           ? significand
                           : significand & ((std::uint64_t{1} << dropped) - 1);
  std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  if (rest > half || (rest == half && (kept & 1) != 0))
    ++kept;
  if (top < -126)
    return static_cast<std::uint32_t>(kept); // 2^23 here is the smallest normal
  // kept is in [2^23, 2^24]; adding it to the exponent field lets a carry
  // to 2^24 move up one binade, and past the top binade reach infinity.
  std::uint32_t bits =
      (static_cast<std::uint32_t>(top + 127) << 23) +
      static_cast<std::uint32_t>(kept - (std::uint64_t{1} << 23));
  return bits >= INFINITY_BITS ? INFINITY_BITS : bits;
}

// digits * 10^exponent rounded to a 64-bit significand (ties to even), then
// once more to single precision. `digits` is nonzero, below 10^19, and the
// value lies between 10^-46 and 10^40, so the numbers stay small.
std::uint32_t decimal_to_single(std::uint64_t digits, int exponent) {
  BigNumber numerator;
  BigNumber denominator;
  big_set(&numerator, digits);
  big_set(&denominator, 1);
  if (exponent >= 0)
    big_multiply_power_of_ten(&numerator, exponent);
  else
    big_multiply_power_of_ten(&denominator, -exponent);

  // Scale by 2^shift so that the quotient falls in [2^63, 2^64).
  int shift = 63 - (big_bit_length(&numerator) - big_bit_length(&denominator));
  if (shift > 0)
    big_shift_left(&numerator, shift);
  else
    big_shift_left(&denominator, -shift);
  BigNumber least = denominator;
  big_shift_left(&least, 63);
  if (big_compare(&numerator, &least) < 0) {
    big_shift_left(&numerator, 1);
    ++shift;
  }

  int against_half;
  std::uint64_t quotient =
      big_divide_64(&numerator, &denominator, &against_half);
  int binary_exponent = -shift;
  if (against_half > 0 || (against_half == 0 && (quotient & 1) != 0)) {
    if (++quotient == 0) { // carried into a new bit
      quotient = std::uint64_t{1} << 63;
      ++binary_exponent;
    }
  }
  return round_to_single(quotient, binary_exponent);
}

bool is_digit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// The powers of ten that a float holds exactly (5^10 < 2^24).
const float EXACT_POWERS[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

} // namespace

float to_single(const char *text) {
  const unsigned char *at = reinterpret_cast<const unsigned char *>(text);
  while (*at == ' ' || (*at >= 0x09 && *at <= 0x0D))
    ++at;
  bool negative = false;
  bool has_sign = *at == '+' || *at == '-';
  if (has_sign)
    negative = *at++ == '-';
  std::uint32_t sign = negative ? SIGN_BIT : 0;

  // The words are numbers only directly after a sign, and only in capitals.
  if (has_sign && at[0] == 'I' && at[1] == 'N' && at[2] == 'F')
    return float_from_bits(sign | INFINITY_BITS);
  if (has_sign && at[0] == 'N' && at[1] == 'A' && at[2] == 'N')
    return float_from_bits(sign | QUIET_NAN_BITS);

  // Only the first 19 significant digits are kept, which a 64-bit integer
  // holds; later digits still move the decimal point.
  std::uint64_t digits = 0;
  int kept = 0;
  std::int64_t exponent = 0;
  bool any_digit = false;
  bool after_point = false;
  for (;; ++at) {
    if (is_digit(*at)) {
      any_digit = true;
      unsigned value = *at - '0';
      if (kept == 0 && value == 0) { // a leading zero is not significant
        exponent -= after_point;
      } else if (kept < 19) {
        digits = digits * 10 + value;
        ++kept;
        exponent -= after_point;
      } else {
        exponent += !after_point;
      }
    } else if (*at == '.' && !after_point) {
      after_point = true;
    } else {
      break;
    }
  }
  if (!any_digit)
    return float_from_bits(sign);

  // An exponent without digits is no exponent. Past a billion it saturates:
  // any such value has long since become infinite or zero.
  if (*at == 'e' || *at == 'E') {
    const unsigned char *mark = at + 1;
    bool exponent_negative = *mark == '-';
    if (*mark == '+' || *mark == '-')
      ++mark;
    if (is_digit(*mark)) {
      std::int64_t written = 0;
      for (; is_digit(*mark); ++mark)
        if (written < 1000000000)
          written = written * 10 + (*mark - '0');
      exponent += exponent_negative ? -written : written;
    }
  }
  if (digits == 0)
    return float_from_bits(sign);

  // The value lies in [10^(kept + exponent - 1), 10^(kept + exponent)).
  // From 10^39 up it is past the largest float (about 3.4e38) by far; below
  // 10^-46 it is under half the smallest subnormal (about 7.0e-46).
  std::int64_t magnitude = kept + exponent;
  if (magnitude >= 40)
    return float_from_bits(sign | INFINITY_BITS);
  if (magnitude <= -46)
    return float_from_bits(sign);

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  // Short numbers in one float operation. Both operands are exact floats
  // (digits < 2^24, 10^k with k <= 10), and IEEE rounds the one product or
  // quotient correctly, to nearest with ties to even. That equals rounding
  // first to 64 bits: a product is an integer below 2^58, so 64 bits hold it
  // exactly. A quotient q = digits / 10^k lies below 2^24; a float midpoint
  // there is j * 2^(t - 24) for the binade [2^t, 2^(t+1)), and q differs
  // from it by (digits * 2^(24 - t) - j * 10^k) / (10^k * 2^(24 - t)), so
  // unless q is the midpoint itself, by at least 2^(t - 24) / 10^k. That
  // exceeds half a 64-bit unit, 2^(t - 64), since 10^k < 2^40. So rounding
  // to 64 bits cannot land q on a midpoint it was not on: one rounding.
  // Where floats are evaluated in wider registers (x87) this is skipped.
  if (digits < (std::uint64_t{1} << 24) && exponent >= -10 && exponent <= 10) {
    float whole = static_cast<float>(digits);
    float result = exponent < 0 ? whole / EXACT_POWERS[-exponent]
                                : whole * EXACT_POWERS[exponent];
    return negative ? -result : result;
  }
#endif
  return float_from_bits(sign |
                         decimal_to_single(digits, static_cast<int>(exponent)));
}

// ---------------------------------------------------------------------------
// Printing
// ---------------------------------------------------------------------------

namespace {

const std::uint64_t TEN_TO_19 = 10000000000000000000u;
constexpr int PRINTED_DIGITS_MAX = 40;
constexpr int EXACT_DIGITS = 19;

// Writes `value` in decimal with at least `width` digits.
std::size_t write_digits(char *out, std::uint64_t value, int width) {
  char reversed[24];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 || count < width);
  for (int i = 0; i < count; ++i)
    out[i] = reversed[count - 1 - i];
  return static_cast<std::size_t>(count);
}

// Values below 10^19: the exact digits, rounded at the last place printed.
// `significand` < 2^24, so significand * 10^9 < 2^54 fits in 64 bits.
std::size_t format_small(char *out, bool negative, std::uint64_t significand,
                         int exponent, int decimals) {
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i)
    scale *= 10;
  char *at = out;
  if (exponent >= 0) {
    std::uint64_t whole = significand << exponent;
    if (negative && whole != 0)
      *at++ = '-';
    at += write_digits(at, whole, 1);
    if (decimals > 0) {
      *at++ = '.';
      for (int i = 0; i < decimals; ++i)
        *at++ = '0';
    }
    *at = '\0';
    return static_cast<std::size_t>(at - out);
  }

  // value * 10^decimals = scaled / 2^shift, rounded to an integer, ties to
  // even. Past 63 places the scaled value is under a half: it rounds to 0.
  std::uint64_t scaled = significand * scale;
  int shift = -exponent;
  std::uint64_t units = 0;
  if (shift < 64) {
    units = scaled >> shift;
    std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (units & 1) != 0))
      ++units;
  }
  if (negative && units != 0) // what rounds to zero prints without a sign
    *at++ = '-';
  at += write_digits(at, units / scale, 1);
  if (decimals > 0) {
    *at++ = '.';
    at += write_digits(at, units % scale, decimals);
  }
  *at = '\0';
  return static_cast<std::size_t>(at - out);
}

// Values from 10^19 up are integers (their exponent is at least 40). Only the
// first 19 significant digits are exact, rounded to nearest with ties to
// even; the rest print as 0, and decimals give way so that no more than 40
// digits are printed.
std::size_t format_large(char *out, bool negative, std::uint64_t significand,
                         int exponent, int decimals) {
  BigNumber value;
  big_set(&value, significand);
  big_shift_left(&value, exponent);

  // At most 39 digits (the largest float is about 3.4e38); one more for a
  // carry into a new digit.
  char digits[PRINTED_DIGITS_MAX + 2] = {};
  int count = 0;
  char reversed[54]; // whole chunks of nine digits
  while (value.size > 0) {
    std::uint32_t chunk = big_divide_small(&value, 1000000000u);
    for (int i = 0; i < 9; ++i) {
      reversed[count++] = static_cast<char>('0' + chunk % 10);
      chunk /= 10;
    }
  }
  while (count > 1 && reversed[count - 1] == '0')
    --count;
  for (int i = 0; i < count; ++i)
    digits[i] = reversed[count - 1 - i];

  // Round at the 19th digit: above half goes up, a tie goes to even.
  char first_dropped = digits[EXACT_DIGITS];
  bool rest_nonzero = false;
  for (int i = EXACT_DIGITS + 1; i < count; ++i)
    rest_nonzero |= digits[i] != '0';
  bool up = first_dropped > '5' ||
            (first_dropped == '5' &&
             (rest_nonzero || (digits[EXACT_DIGITS - 1] - '0') % 2 != 0));
  for (int i = EXACT_DIGITS; i < count; ++i)
    digits[i] = '0';
  if (up) {
    int i = EXACT_DIGITS - 1;
    while (i >= 0 && digits[i] == '9')
      digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else { // 999...9 became 1000...0, one digit longer
      digits[0] = '1';
      digits[count++] = '0';
    }
  }

  int shown_decimals = PRINTED_DIGITS_MAX - count;
  if (shown_decimals > decimals)
    shown_decimals = decimals;
  char *at = out;
  if (negative)
    *at++ = '-';
  std::memcpy(at, digits, static_cast<std::size_t>(count));
  at += count;
  if (shown_decimals > 0) {
    *at++ = '.';
    for (int i = 0; i < shown_decimals; ++i)
      *at++ = '0';
  }
  *at = '\0';
  return static_cast<std::size_t>(at - out);
}

} // namespace

std::size_t format_fixed(char *out, float value, int decimals) {
  std::uint32_t bits = float_bits(value);
  bool negative = (bits & SIGN_BIT) != 0;
  int biased = static_cast<int>((bits >> 23) & 0xFF);
  std::uint64_t fraction = bits & 0x7FFFFF;
  if (biased == 0xFF) {
    std::memcpy(out, negative ? "-" : "+", 1);
    std::memcpy(out + 1, fraction != 0 ? "NAN" : "INF", 4);
    return 4;
  }
  std::uint64_t significand = biased == 0 ? fraction : fraction | (1u << 23);
  int exponent = biased == 0 ? -149 : biased - 150;
  bool small =
      exponent < 0 || (exponent <= 40 && (significand << exponent) < TEN_TO_19);
  return small ? format_small(out, negative, significand, exponent, decimals)
               : format_large(out, negative, significand, exponent, decimals);
}

// ---------------------------------------------------------------------------
// Standard output
// ---------------------------------------------------------------------------

namespace {
// Output is gathered in large blocks: a listing of many planets costs a
// handful of writes, not one per line.
char output_buffer[1 << 16];
} // namespace

void start_output() {
  std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer);
}

void put_text(const char *text) {
  std::fputs(text, stdout);
}

void put_fixed(float value, int decimals) {
  char text[FIXED_TEXT_SIZE];
  std::size_t length = format_fixed(text, value, decimals);
  std::fwrite(text, 1, length, stdout);
}

void finish_output() {
  std::fflush(stdout);
}
