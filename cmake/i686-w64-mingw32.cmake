# Cross build of the 32-bit Windows console program with Debian's mingw-w64
# (package g++-mingw-w64-i686); the tests run under 32-bit Wine (packages
# wine and wine32:i386) where the host runs 32-bit programs:
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of this compiler lacks. The program starts no threads, and the static link
# takes in what the model needs.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(VORN_CROSS_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)

# SSE2 arithmetic makes float operations round to float, as on x86-64
# (FLT_EVAL_METHOD 0), where the x87 would keep them in wider registers.
# Every x86 processor since 2001 has SSE2.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run win32 ${CMAKE_BINARY_DIR}/wine-prefix)
