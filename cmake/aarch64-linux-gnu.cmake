# Cross build for 64-bit ARM Linux (little-endian) with Debian's cross
# compiler (package g++-aarch64-linux-gnu); the tests run under qemu
# user-mode emulation (package qemu-user).
#
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(VORN_CROSS_TRIPLE aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
