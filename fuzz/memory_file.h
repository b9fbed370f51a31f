// An in-memory file that a harness rewrites for each input and that the code
// under test opens by name, as it would a planet file on disk: no disk
// traffic, and nothing left behind when the fuzzer stops.
#ifndef VORN_FUZZ_MEMORY_FILE_H
#define VORN_FUZZ_MEMORY_FILE_H

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

struct MemoryFile {
  int handle;
  char name[64]; // /proc/self/fd/N, which open() follows to the file
};

inline void memory_file_create(MemoryFile *file, const char *label) {
  file->handle = memfd_create(label, 0);
  if (file->handle < 0) {
    std::perror("memfd_create");
    std::abort();
  }
  std::snprintf(file->name, sizeof file->name, "/proc/self/fd/%d",
                file->handle);
}

// Replaces the file's contents with data[0, size).
inline void memory_file_fill(const MemoryFile *file, const std::uint8_t *data,
                             std::size_t size) {
  if (ftruncate(file->handle, 0) != 0 ||
      (size > 0 &&
       pwrite(file->handle, data, size, 0) != static_cast<ssize_t>(size))) {
    std::perror("memory file");
    std::abort();
  }
}

#endif
