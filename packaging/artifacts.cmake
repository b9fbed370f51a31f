# Reads packaging/artifacts, the list of release artifacts, for the release
# build and for packaging/dist.cmake: sets VORN_ARTIFACT_BUILDS to the
# builds in its order and, for each build B, VORN_ARTIFACT_KIND_B and
# VORN_ARTIFACT_FILE_B. Nothing else reads the list: the release build
# writes what was read for the scripts (vorn_write_artifacts).
function(vorn_read_artifacts list version)
  file(STRINGS ${list} lines REGEX "^[^#]")
  set(builds "")
  foreach(line IN LISTS lines)
    string(REPLACE "@VERSION@" "${version}" line "${line}")
    separate_arguments(fields UNIX_COMMAND "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL 3)
      message(FATAL_ERROR "${list}: not \"build kind file\": ${line}")
    endif()
    list(GET fields 0 build)
    list(GET fields 1 kind)
    list(GET fields 2 name)
    list(APPEND builds ${build})
    set(VORN_ARTIFACT_KIND_${build} ${kind} PARENT_SCOPE)
    set(VORN_ARTIFACT_FILE_${build} ${name} PARENT_SCOPE)
  endforeach()
  set(VORN_ARTIFACT_BUILDS ${builds} PARENT_SCOPE)
endfunction()

# Writes what vorn_read_artifacts read to `file`, as "build kind file" a
# line with the version filled in, for the scripts that pack and check the
# release (packaging/pack, .ci/release).
function(vorn_write_artifacts file)
  set(text "")
  foreach(build IN LISTS VORN_ARTIFACT_BUILDS)
    string(APPEND text "${build} ${VORN_ARTIFACT_KIND_${build}} "
                       "${VORN_ARTIFACT_FILE_${build}}\n")
  endforeach()
  file(WRITE ${file} "${text}")
endfunction()
