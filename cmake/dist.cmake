# The folder as users get it: the engine and its UCI program, Quiretto, Zandrell.ini naming the book,
# and the book itself, made from data/openings.pgn by Quiretto at build time.
set(ZANDRELL_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(ZANDRELL_BOOK_SOURCE ${CMAKE_SOURCE_DIR}/data/openings.pgn)

add_custom_command(
  OUTPUT ${ZANDRELL_DIST_DIR}/book.txt ${ZANDRELL_DIST_DIR}/book.opi
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZANDRELL_DIST_DIR}
  COMMAND quiretto import ${ZANDRELL_BOOK_SOURCE} -o ${ZANDRELL_DIST_DIR}/book.txt
  DEPENDS quiretto ${ZANDRELL_BOOK_SOURCE}
  COMMENT "Opening book from data/openings.pgn"
  VERBATIM)

add_custom_target(zandrell_dist ALL
  DEPENDS ${ZANDRELL_DIST_DIR}/book.txt ${ZANDRELL_DIST_DIR}/book.opi
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZANDRELL_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:zandrell>
    $<TARGET_FILE:zandrell-uci> $<TARGET_FILE:quiretto> ${CMAKE_SOURCE_DIR}/data/Zandrell.ini
    ${ZANDRELL_DIST_DIR}
  COMMENT "Assembling dist/: engine, Quiretto, settings and book"
  VERBATIM)
add_dependencies(zandrell_dist zandrell zandrell-uci quiretto)
