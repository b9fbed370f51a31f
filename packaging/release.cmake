# The release: `cmake --workflow --preset release` builds this tree once per
# target, packs the results into the artifacts that packaging/artifacts
# lists (packaging/pack), runs every packed program on the example game
# (packaging/check) and copies the artifacts with their SHA256SUMS into
# dist/ at the top of the tree (packaging/dist.cmake).
#
# Two clones of one commit give the same bytes: everything is dated at the
# commit, no path of the clone reaches a binary, and the archives fix order,
# owner, mode and time of every member.
include(ExternalProject)
include(${PROJECT_SOURCE_DIR}/packaging/artifacts.cmake)
vorn_read_artifacts(${PROJECT_SOURCE_DIR}/packaging/artifacts
                    ${PROJECT_VERSION})
vorn_write_artifacts(${PROJECT_BINARY_DIR}/artifacts.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/packaging/artifacts)

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

foreach(tool dpkg-deb dpkg-shlibdeps zip unzip tar gzip qemu-aarch64 emcc
             node npm chromium)
  find_program(VORN_HAVE_${tool} ${tool})
  if(NOT VORN_HAVE_${tool})
    message(FATAL_ERROR "The release needs ${tool}: `.ci/install-missing "
      "@release` installs its Debian packages (.ci/packages); it needs "
      "Node.js with npm too")
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
# The build makes the program, vorn, unless TARGET names another; a cross
# toolchain file takes its target's triple as TRIPLE; ENV entries
# (NAME=value) go into the environment of its configure and build.
function(vorn_release_build name toolchain cxx_flags link_flags)
  cmake_parse_arguments(PARSE_ARGV 4 build "" "TARGET;TRIPLE" ENV)
  if(toolchain)
    set(toolchain_arg
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain})
  endif()
  if(build_TRIPLE)
    list(APPEND toolchain_arg -DVORN_CROSS_TRIPLE=${build_TRIPLE})
  endif()
  set(target vorn)
  if(build_TARGET)
    set(target ${build_TARGET})
  endif()
  set(env ${build_ENV})
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/${name}
    PREFIX ${PROJECT_BINARY_DIR}/external/${name}
    CONFIGURE_COMMAND
      ${CMAKE_COMMAND} -E env "CXXFLAGS=${reproducible_flags} ${cxx_flags}"
      "LDFLAGS=${link_flags}" ${env}
      ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> ${toolchain_arg}
      -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_WERROR=${VORN_WERROR}
    BUILD_COMMAND ${CMAKE_COMMAND} -E env ${env}
      ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${target}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endfunction()

vorn_release_build(deb "" "${deb_flags}" "${linux_link} ${deb_link}")
vorn_release_build(linux-x86_64 "" "" "-static ${linux_link}")
vorn_release_build(linux-aarch64 linux-gnu.cmake "" "${linux_link}"
                   TRIPLE aarch64-linux-gnu)
vorn_release_build(win32 w64-mingw32.cmake "" "${windows_link}"
                   TRIPLE i686-w64-mingw32)
vorn_release_build(win64 w64-mingw32.cmake "" "${windows_link}"
                   TRIPLE x86_64-w64-mingw32)
# The web page, site/ of the build. Debian's emcc finds its JavaScript
# modules only through NODE_PATH.
vorn_release_build(web emscripten.cmake "" "" TARGET vorn_web
                   ENV NODE_PATH=/usr/share/nodejs)

set(VORN_ARTIFACTS_DIR ${PROJECT_BINARY_DIR}/artifacts)
add_custom_target(vorn_artifacts ALL
  COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/pack ${VORN_EPOCH}
          ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}
          ${VORN_ARTIFACTS_DIR} ${CMAKE_COMMAND}
  COMMENT "Packing the release artifacts"
  VERBATIM)
foreach(build IN LISTS VORN_ARTIFACT_BUILDS)
  if(NOT TARGET ${build})
    message(FATAL_ERROR "packaging/artifacts names ${build}, which is no "
      "build of packaging/release.cmake")
  endif()
  add_dependencies(vorn_artifacts ${build})
endforeach()

# Each packed program, unpacked as a player would, runs the README's example
# command and must print the example game's listing. The 32-bit Windows
# program needs 32-bit Wine, which runs only where the host runs 32-bit
# programs and the group @wine32 is installed: VORN_WINE32=1 in the
# environment says so (.ci/run finds out and sets it), and without it the
# win32 zip is checked for its contents only. check_runner_B is what build
# B's program runs under; a program that runs here as it is has none.
set(check_runner_linux-aarch64 qemu-aarch64)
set(check_runner_win64 ${PROJECT_SOURCE_DIR}/cmake/wine-run win64
                       ${PROJECT_BINARY_DIR}/check/wine-prefix)
if("$ENV{VORN_WINE32}" STREQUAL "1")
  set(check_runner_win32 ${PROJECT_SOURCE_DIR}/cmake/wine-run win32
                         ${PROJECT_BINARY_DIR}/check/wine-prefix-32)
else()
  set(check_runner_win32 -)
endif()
enable_testing()
foreach(build IN LISTS VORN_ARTIFACT_BUILDS)
  add_test(NAME release.${build}
    COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/check ${PROJECT_SOURCE_DIR}
            ${VORN_ARTIFACT_KIND_${build}}
            ${VORN_ARTIFACTS_DIR}/${VORN_ARTIFACT_FILE_${build}}
            ${PROJECT_BINARY_DIR}/check/${build} ${check_runner_${build}})
endforeach()

# The package step: `cpack` runs packaging/dist.cmake, which puts the
# artifacts and their SHA256SUMS into dist/.
set(CPACK_GENERATOR External)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/dist.cmake)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_VORN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_VORN_ARTIFACTS_DIR ${VORN_ARTIFACTS_DIR})
set(CPACK_VORN_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
