# Cross build for IBM Z Linux with Debian's cross compiler (package
# g++-s390x-linux-gnu); the tests run under qemu user-mode emulation
# (package qemu-user). The one big-endian target: byte order shows in the
# tab counting eight bytes at a time, in the bit casts and in the shifts.
#
#   cmake -S . -B build-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/s390x-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)

set(VORN_CROSS_TRIPLE s390x-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x)
