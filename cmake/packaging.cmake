# Install rules and packages. On Linux the layout is Debian's for games
# (`cmake --install`, `make package` gives the .deb); on Windows everything lies in
# one folder, as the engine expects it (`make windows-package` gives the zip).
# The shipped book, its flag file and the default Zandrell.ini come from the
# assembled dist/ folder.
set(ZANDRELL_DIST ${CMAKE_BINARY_DIR}/dist)
set(ZANDRELL_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(ZANDRELL_CONTACT "The Zandrell developers <zandrell@example.org>")

set(ZANDRELL_DATA_FILES ${ZANDRELL_DIST}/Zandrell.ini ${ZANDRELL_DIST}/book.txt
    ${ZANDRELL_DIST}/book.opi)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_NAME zandrell)
set(CPACK_PACKAGE_VENDOR "The Zandrell developers")
set(CPACK_PACKAGE_CONTACT ${ZANDRELL_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess engine for xboard and UCI, with an opening book editor")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(ZANDRELL_QUIRETTO_NAME Quiretto.exe)
  install(TARGETS zandrell RUNTIME DESTINATION .)
  install(TARGETS zandrell-uci RUNTIME DESTINATION .)
  install(TARGETS quiretto RUNTIME DESTINATION .)
  install(FILES ${ZANDRELL_DATA_FILES} DESTINATION .)
  # Notepad-friendly copies of the read-me and the licence.
  configure_file(${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/packaging/README.txt
    @ONLY NEWLINE_STYLE CRLF)
  configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE
    DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Zandrell-${PROJECT_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
  return()
endif()

install(TARGETS zandrell RUNTIME DESTINATION games)
install(TARGETS zandrell-uci RUNTIME DESTINATION games)
install(TARGETS quiretto RUNTIME DESTINATION games)
install(FILES ${ZANDRELL_DATA_FILES} DESTINATION share/games/zandrell)
install(FILES ${ZANDRELL_PACKAGING}/linux/zandrell.eng DESTINATION share/games/plugins/xboard)
install(FILES ${ZANDRELL_PACKAGING}/linux/zandrell-logo.png
  DESTINATION share/games/plugins/logos RENAME zandrell.png)
install(FILES ${ZANDRELL_PACKAGING}/linux/zandrell.desktop ${ZANDRELL_PACKAGING}/linux/quiretto.desktop
  DESTINATION share/applications)
install(FILES ${ZANDRELL_PACKAGING}/linux/zandrell.png ${ZANDRELL_PACKAGING}/linux/quiretto.png
  DESTINATION share/icons/hicolor/48x48/apps)
install(FILES ${ZANDRELL_PACKAGING}/linux/copyright DESTINATION share/doc/zandrell)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n:
# no name or time stamp inside, so the same sources give the same package).
find_program(ZANDRELL_GZIP gzip)
set(ZANDRELL_PAGES zandrell quiretto)
set(compressed)
foreach(page IN LISTS ZANDRELL_PAGES)
  configure_file(${ZANDRELL_PACKAGING}/linux/${page}.6 ${CMAKE_BINARY_DIR}/packaging/${page}.6 @ONLY)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/packaging/${page}.6)
endforeach()
configure_file(${ZANDRELL_PACKAGING}/linux/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
list(APPEND compressed ${CMAKE_BINARY_DIR}/packaging/changelog)
if(ZANDRELL_GZIP)
  set(outputs)
  foreach(file IN LISTS compressed)
    add_custom_command(OUTPUT ${file}.gz
      COMMAND ${ZANDRELL_GZIP} -9nc ${file} > ${file}.gz
      DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${file}.gz)
  endforeach()
  add_custom_target(zandrell_compressed_docs ALL DEPENDS ${outputs})
  foreach(page IN LISTS ZANDRELL_PAGES)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.6.gz DESTINATION share/man/man6)
  endforeach()
  # zandrell-uci is described on the engine's page.
  file(CREATE_LINK zandrell.6.gz ${CMAKE_BINARY_DIR}/packaging/zandrell-uci.6.gz SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/zandrell-uci.6.gz DESTINATION share/man/man6)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION share/doc/zandrell)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZANDRELL_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xboard)
set(CPACK_PACKAGE_DESCRIPTION "Zandrell is a chess engine for xboard and other interfaces that speak the
xboard engine protocol; zandrell-uci is the same engine for interfaces that
speak the Universal Chess Interface. It plays from an opening book early in
the game and otherwise searches with iterative-deepening alpha-beta. Started
on its own it shows a small launcher window that starts xboard with Zandrell
or the book editor Quiretto, whose window shows the book as a tree of moves
and lets the moves the engine may play be chosen with a click. It is free
software under the MIT licence.")
include(CPack)
