# Cross build of a Windows console program with Debian's mingw-w64 for the
# triple VORN_CROSS_TRIPLE; the release ships both:
# - i686-w64-mingw32, 32-bit, tested under 32-bit Wine where the host runs
#   32-bit programs;
# - x86_64-w64-mingw32, 64-bit, tested under 64-bit Wine, which runs where
#   32-bit Wine can't.
# The Debian packages are the groups win32, win64, wine32 and wine64 of
# .ci/packages.
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/w64-mingw32.cmake \
#     -DVORN_CROSS_TRIPLE=i686-w64-mingw32
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of this compiler lacks. The program starts no threads, and the static link
# takes in what the model needs.
set(CMAKE_CXX_COMPILER ${VORN_CROSS_TRIPLE}-g++-posix)
set(CMAKE_C_COMPILER ${VORN_CROSS_TRIPLE}-gcc-posix)

if(VORN_CROSS_TRIPLE STREQUAL i686-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86)
  # The build needs SSE2: SSE2 arithmetic makes float operations round to
  # float, as on x86-64 (FLT_EVAL_METHOD 0), where the x87 would keep them
  # in wider registers.
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
  set(vorn_wine win32)
elseif(VORN_CROSS_TRIPLE STREQUAL x86_64-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
  set(vorn_wine win64)
else()
  message(FATAL_ERROR "No Windows build for ${VORN_CROSS_TRIPLE}: "
    "i686-w64-mingw32 or x86_64-w64-mingw32")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run
    ${vorn_wine} ${CMAKE_BINARY_DIR}/wine-prefix)
