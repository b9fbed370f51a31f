# Install rules: `cmake --install`. The packages that players download are
# made by the release build (packaging/release.cmake) from these builds.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/plain_manual.cmake)

# The manual page with this version in its title line: installed on Linux,
# and made into plain text for the Windows zips and the web page.
configure_file(${PROJECT_SOURCE_DIR}/man/vorn.1.in
               ${PROJECT_BINARY_DIR}/man/vorn.1 @ONLY)

# Copies a text file into the build tree with CR LF line ends. The copy goes
# through configure_file so that an unchanged text keeps its time stamp.
function(vorn_crlf_copy source target)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${target}.new "${text}")
  configure_file(${target}.new ${target} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

if(WIN32)
  # What the Windows zip holds: everything side by side at its top, a short
  # README of its own for a Windows player, the manual as plain text, and
  # the texts in the line ends that every Windows editor shows properly.
  # The manual is made with the program, so that installing the program
  # alone (as the release does) finds it.
  vorn_crlf_copy(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt
                 ${PROJECT_BINARY_DIR}/crlf/README.txt)
  vorn_crlf_copy(${PROJECT_SOURCE_DIR}/LICENSE
                 ${PROJECT_BINARY_DIR}/crlf/LICENSE.txt)
  vorn_plain_manual(vorn ${PROJECT_BINARY_DIR}/crlf/vorn.txt CRLF)
  install(TARGETS vorn RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/crlf/README.txt
                ${PROJECT_BINARY_DIR}/crlf/LICENSE.txt
                ${PROJECT_BINARY_DIR}/crlf/vorn.txt DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/games
          DESTINATION examples)
else()
  install(TARGETS vorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/man/vorn.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Laid out as in the source tree, so that the README's example command
  # works from .../examples.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/games
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()
