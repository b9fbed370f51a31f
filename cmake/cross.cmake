# What the toolchain files for Debian's cross compilers share
# (linux-gnu.cmake and w64-mingw32.cmake): the target is named by its
# triple, VORN_CROSS_TRIPLE, given on the command line or by the preset.
# Each of them names the C compiler beside the C++ one: the program is C++
# alone, but GoogleTest's project() enables C as well, and CMake would take
# the host's cc for it.
if(NOT VORN_CROSS_TRIPLE)
  message(FATAL_ERROR "Name the target's triple: -DVORN_CROSS_TRIPLE=..., "
    "for example aarch64-linux-gnu or i686-w64-mingw32")
endif()
# CMake reads this file again for each test project that it compiles while
# configuring; those see the triple only when it is handed on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORN_CROSS_TRIPLE)

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
