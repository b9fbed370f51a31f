# Install rules and packages: `cmake --install`, `cpack -G DEB` on Linux and
# `cpack -G ZIP` for Windows. The version comes from project() alone.
include(GNUInstallDirs)

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
  # A zip for Windows users: everything side by side at its top, and the
  # texts in the line ends that every Windows editor shows properly.
  vorn_crlf_copy(${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/crlf/README.txt)
  vorn_crlf_copy(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/crlf/LICENSE)
  install(TARGETS vorn RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/crlf/README.txt
                ${PROJECT_BINARY_DIR}/crlf/LICENSE DESTINATION .)
else()
  configure_file(${PROJECT_SOURCE_DIR}/man/vorn.1.in
                 ${PROJECT_BINARY_DIR}/man/vorn.1 @ONLY)
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

set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VENDOR "the Vorn developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "list the inhabitable planets of a space strategy game")
# Wrapped by hand: the Debian control file shows these lines as they are.
set(CPACK_PACKAGE_DESCRIPTION
    "Vorn reads the tab-separated planet files that a space strategy game\n\
writes for each of its games (GAME.P1 to GAME.P16) and lists every planet\n\
whose gravity, temperature and radiation all lie within six limits given\n\
on the command line. An example game comes with the documentation.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # The default file name, vorn-<version>-win32.zip for a 32-bit build.
  # The files sit at the top of the zip: Windows' "Extract All" makes the
  # folder itself.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
  # No address: the project has none to give, and dpkg takes a bare name.
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorn developers")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # vorn_<version>_<arch>.deb, as Debian names its packages.
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
endif()

include(CPack)
