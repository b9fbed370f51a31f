# The release: `cmake --workflow --preset release` builds this tree once per
# target, packs the results (packaging/pack), runs every packed program on
# the example game (packaging/check) and copies the artifacts with their
# SHA256SUMS into dist/ at the top of the tree (packaging/dist.cmake).
#
# Two clones of one commit give the same bytes: everything is dated at the
# commit, no path of the clone reaches a binary, and the archives fix order,
# owner, mode and time of every member.
include(ExternalProject)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VORN_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE VORN_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_status ERROR_QUIET)
  if(git_status OR NOT VORN_EPOCH)
    message(FATAL_ERROR "The release is dated by its commit: build it in a "
      "git clone, or set SOURCE_DATE_EPOCH")
  endif()
endif()

# The Debian changelog names the version it describes; a release whose
# changelog lags behind project() would ship the old entry as the newest.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog newest
     LIMIT_COUNT 1)
if(NOT newest MATCHES "^vorn \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog has no entry for "
    "${PROJECT_VERSION} at its top: ${newest}")
endif()

foreach(tool dpkg-deb dpkg-shlibdeps zip unzip tar gzip qemu-aarch64)
  find_program(VORN_HAVE_${tool} ${tool})
  if(NOT VORN_HAVE_${tool})
    message(FATAL_ERROR "The release needs ${tool}: apt-get install "
      "dpkg-dev zip unzip qemu-user g++-aarch64-linux-gnu "
      "g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64")
  endif()
endforeach()

# The source folder becomes "." in whatever the compiler records; there is
# no build ID (a hash that would differ with any path) and no PE time stamp.
set(reproducible_flags "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.")
set(linux_link "-s -Wl,--build-id=none")
set(windows_link "-s -Wl,--no-insert-timestamp")
# Debian's hardening, as its own packages are built.
set(deb_flags "-fstack-protector-strong -D_FORTIFY_SOURCE=2")
set(deb_link "-Wl,-z,relro -Wl,-z,now")

# The extra flags go in through CXXFLAGS and LDFLAGS, which CMake puts
# before a toolchain file's own initial flags: given as CMAKE_CXX_FLAGS or
# CMAKE_EXE_LINKER_FLAGS they would replace those (the 32-bit Windows
# build's SSE2 arithmetic, the cross builds' static link), and the program
# shipped would not be the one the tests ran.
function(vorn_release_build name toolchain cxx_flags link_flags)
  if(toolchain)
    set(toolchain_arg
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain})
  endif()
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/${name}
    PREFIX ${PROJECT_BINARY_DIR}/external/${name}
    CONFIGURE_COMMAND
      ${CMAKE_COMMAND} -E env "CXXFLAGS=${reproducible_flags} ${cxx_flags}"
      "LDFLAGS=${link_flags}"
      ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> ${toolchain_arg}
      -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_WERROR=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target vorn
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endfunction()

vorn_release_build(deb "" "${deb_flags}" "${linux_link} ${deb_link}")
vorn_release_build(linux-x86_64 "" "" "-static ${linux_link}")
vorn_release_build(linux-aarch64 aarch64-linux-gnu.cmake "" "${linux_link}")
vorn_release_build(win32 i686-w64-mingw32.cmake "" "${windows_link}")
vorn_release_build(win64 x86_64-w64-mingw32.cmake "" "${windows_link}")

set(VORN_ARTIFACTS_DIR ${PROJECT_BINARY_DIR}/artifacts)
set(deb vorn_${PROJECT_VERSION}_amd64.deb)
set(linux_x86_64 vorn-${PROJECT_VERSION}-linux-x86_64.tar.gz)
set(linux_aarch64 vorn-${PROJECT_VERSION}-linux-aarch64.tar.gz)
set(win32 vorn-${PROJECT_VERSION}-win32.zip)
set(win64 vorn-${PROJECT_VERSION}-win64.zip)

add_custom_target(vorn_artifacts ALL
  COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/pack ${VORN_EPOCH}
          ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}
          ${VORN_ARTIFACTS_DIR} ${CMAKE_COMMAND}
  COMMENT "Packing the release artifacts"
  VERBATIM)
add_dependencies(vorn_artifacts deb linux-x86_64 linux-aarch64 win32 win64)

# Each packed program, unpacked as a player would, runs the README's example
# command and must print the example game's listing. The 32-bit Windows
# program needs 32-bit Wine, which runs only where the host runs 32-bit
# programs: its loader is tried, and where it can't start the win32 zip is
# checked for its contents only.
execute_process(COMMAND /usr/lib/wine/wine --version
                RESULT_VARIABLE wine32_status OUTPUT_QUIET ERROR_QUIET)
if(wine32_status STREQUAL "0")
  set(win32_runner ${PROJECT_SOURCE_DIR}/cmake/wine-run win32
                   ${PROJECT_BINARY_DIR}/check/wine-prefix-32)
else()
  set(win32_runner -)
endif()
enable_testing()
set(check sh ${PROJECT_SOURCE_DIR}/packaging/check ${PROJECT_SOURCE_DIR})
set(work ${PROJECT_BINARY_DIR}/check)
add_test(NAME release.deb
  COMMAND ${check} deb ${VORN_ARTIFACTS_DIR}/${deb} ${work}/deb)
add_test(NAME release.linux-x86_64
  COMMAND ${check} tarball ${VORN_ARTIFACTS_DIR}/${linux_x86_64}
          ${work}/linux-x86_64)
add_test(NAME release.linux-aarch64
  COMMAND ${check} tarball ${VORN_ARTIFACTS_DIR}/${linux_aarch64}
          ${work}/linux-aarch64 qemu-aarch64)
add_test(NAME release.win64
  COMMAND ${check} zip ${VORN_ARTIFACTS_DIR}/${win64} ${work}/win64
          ${PROJECT_SOURCE_DIR}/cmake/wine-run win64 ${work}/wine-prefix)
add_test(NAME release.win32
  COMMAND ${check} zip ${VORN_ARTIFACTS_DIR}/${win32} ${work}/win32
          ${win32_runner})

# The package step: `cpack` runs packaging/dist.cmake, which puts the
# artifacts and their SHA256SUMS into dist/.
set(CPACK_GENERATOR External)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/dist.cmake)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(VORN_DIST_FILES ${deb} ${linux_x86_64} ${linux_aarch64} ${win32} ${win64})
set(CPACK_VORN_ARTIFACTS_DIR ${VORN_ARTIFACTS_DIR})
set(CPACK_VORN_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_VORN_DIST_FILES "${VORN_DIST_FILES}")
include(CPack)
