# Run by cpack in the release build: replaces dist/ with the artifacts that
# packaging/artifacts names and their SHA256SUMS, in the format
# `sha256sum -c SHA256SUMS` reads.
include(${CPACK_VORN_SOURCE_DIR}/packaging/artifacts.cmake)
vorn_read_artifacts(${CPACK_VORN_SOURCE_DIR}/packaging/artifacts
                    ${CPACK_PACKAGE_VERSION})
file(REMOVE_RECURSE ${CPACK_VORN_DIST_DIR})
file(MAKE_DIRECTORY ${CPACK_VORN_DIST_DIR})
set(sums "")
foreach(build IN LISTS VORN_ARTIFACT_BUILDS)
  set(name ${VORN_ARTIFACT_FILE_${build}})
  set(artifact ${CPACK_VORN_ARTIFACTS_DIR}/${name})
  if(NOT EXISTS ${artifact})
    message(FATAL_ERROR "${artifact} is missing: build the release first")
  endif()
  file(COPY ${artifact} DESTINATION ${CPACK_VORN_DIST_DIR})
  file(SHA256 ${artifact} sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE ${CPACK_VORN_DIST_DIR}/SHA256SUMS "${sums}")
message(STATUS "Release artifacts in ${CPACK_VORN_DIST_DIR}")
