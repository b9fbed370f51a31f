// Reads the files named on the command line in 512-byte blocks, as vorn does,
// and does nothing else with them: the time it takes is the floor under any
// program that reads its input this way.
//
//   read_blocks <file>...

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv) {
  char block[512];
  long long total = 0;
  for (int i = 1; i < argc; ++i) {
    int handle = open(argv[i], O_RDONLY);
    if (handle < 0) {
      std::fprintf(stderr, "read_blocks: cannot open %s\n", argv[i]);
      return 1;
    }
    ssize_t got;
    while ((got = read(handle, block, sizeof block)) > 0)
      total += got;
    close(handle);
  }
  // Printed so that the reads are not for nothing.
  std::printf("%lld\n", total);
  return 0;
}
