# Cross build for 32-bit x86 Linux with Debian's cross compiler (package
# g++-i686-linux-gnu); the tests run under qemu user-mode emulation (package
# qemu-user), which runs even where the kernel refuses 32-bit programs.
#
#   cmake -S . -B build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)

set(VORN_CROSS_TRIPLE i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)

# x87 arithmetic only: float expressions are evaluated in long double
# (FLT_EVAL_METHOD 2), so the float fast path of the number reader is
# compiled out and the exact path does all the work.
set(CMAKE_CXX_FLAGS_INIT "-mno-sse -mfpmath=387")
set(CMAKE_C_FLAGS_INIT "-mno-sse -mfpmath=387")

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
