# What every toolchain file here shares, for the Debian cross toolchain of
# VORN_CROSS_TRIPLE, which the including file sets first.

# Libraries and packages come from the target's root only, so that the
# host's GoogleTest is never taken for the target's.
set(CMAKE_FIND_ROOT_PATH /usr/${VORN_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A static link: the program needs no copy of the target's libraries, so
# qemu runs it without the target's C library, and a bare vorn.exe runs
# without the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
