# Cross build for Linux with Debian's cross compiler for the triple
# VORN_CROSS_TRIPLE; the tests run under qemu user-mode emulation, which
# runs even where the kernel refuses the target's programs. The Debian
# packages of each target are the group of its preset's name in
# .ci/packages.
#
#   cmake -S . -B build-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/linux-gnu.cmake \
#     -DVORN_CROSS_TRIPLE=s390x-linux-gnu
#
# The triples that the presets build:
# - aarch64-linux-gnu: 64-bit ARM, little-endian.
# - s390x-linux-gnu: IBM Z, the one big-endian target: byte order shows in
#   the tab counting eight bytes at a time, in the bit casts and in the
#   shifts.
# - i686-linux-gnu: 32-bit x86 with x87 arithmetic only, see below.
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${VORN_CROSS_TRIPLE})

set(CMAKE_CXX_COMPILER ${VORN_CROSS_TRIPLE}-g++)
set(CMAKE_C_COMPILER ${VORN_CROSS_TRIPLE}-gcc)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
  # x87 arithmetic only: float expressions are evaluated in long double
  # (FLT_EVAL_METHOD 2), so the float fast path of the number reader is
  # compiled out and the exact path does all the work.
  set(CMAKE_CXX_FLAGS_INIT "-mno-sse -mfpmath=387")
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR})
endif()
