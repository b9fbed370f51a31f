# The manual as plain text, for players who have no `man`: the Windows zips
# and the web page carry it as vorn.txt. groff (Debian package groff-base)
# renders the manual page for a terminal of 78 columns, in ASCII, without
# hyphenation, so that a search finds every word whole, and without the
# backspace overstrikes and escape codes that make bold and underline on a
# terminal but garble a text file. Nothing in the text depends on when or
# where it is made, so that two release builds give the same bytes.
#
# Included (by cmake/packaging.cmake), this file defines
# vorn_plain_manual(); run with `cmake -P`, it is the build step that the
# function adds.

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DGROFF=<groff> -DPAGE=<vorn.1> -DOUTPUT=<file> -DCRLF=ON|OFF
  #       -P plain_manual.cmake
  execute_process(COMMAND ${GROFF} -man -Tascii -P-cbou -rHY=0 ${PAGE}
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "groff failed on ${PAGE}: ${errors}")
  endif()
  # Whatever groff's version, what ships is printable ASCII in lines.
  if(NOT text MATCHES "^[\n -~]+$")
    message(FATAL_ERROR "groff wrote more than printable ASCII for ${PAGE}")
  endif()
  if(CRLF)
    string(REPLACE "\n" "\r\n" text "${text}")
  endif()
  file(WRITE ${OUTPUT} "${text}")
  return()
endif()

# vorn_plain_manual(<target> <output> [CRLF])
#
# Writes the manual page of this build (man/vorn.1 in the build folder) as
# plain text to <output>, with CR LF line ends if CRLF is given, whenever
# <target> is built; the text is made again when the page changes.
function(vorn_plain_manual target output)
  cmake_parse_arguments(PARSE_ARGV 2 manual "CRLF" "" "")
  find_program(VORN_GROFF groff)
  if(NOT VORN_GROFF)
    message(FATAL_ERROR "The manual as plain text needs groff: "
      ".ci/install-missing @manual")
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/vorn.1)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DGROFF=${VORN_GROFF} -DPAGE=${page}
            -DOUTPUT=${output} -DCRLF=${manual_CRLF}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${page} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Writing the manual as plain text to ${output}"
    VERBATIM)
  add_custom_target(${target}_plain_manual DEPENDS ${output})
  add_dependencies(${target} ${target}_plain_manual)
endfunction()
