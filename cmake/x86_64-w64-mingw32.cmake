# Cross build of a 64-bit Windows console program with Debian's mingw-w64
# (package g++-mingw-w64-x86-64). The 32-bit build is the one that ships;
# this one runs the Windows suite on hosts that refuse 32-bit programs, under
# 64-bit Wine (package wine64):
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

# The posix thread model, as for the 32-bit build: GoogleTest needs
# std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(VORN_CROSS_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run win64 ${CMAKE_BINARY_DIR}/wine-prefix)
