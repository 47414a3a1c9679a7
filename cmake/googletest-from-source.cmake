# GoogleTest built from Debian's source package, for cross builds where no
# prebuilt library of the target exists. Defines GTest::gtest and GTest::gtest_main.
set(ZANDRELL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${ZANDRELL_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${ZANDRELL_GTEST_SOURCE} (Debian: googletest)")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
# Third-party code: our warning flags are not its business, and its headers are
# included as system headers so they do not trip ours either.
get_directory_property(zandrell_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${ZANDRELL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${zandrell_saved_options}")

if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

if(WIN32 AND MINGW)
  # Standard streams in binary mode: test listings then end their lines with a
  # bare line feed, which is what test discovery parses.
  find_file(ZANDRELL_MINGW_BINMODE binmode.o)
  if(ZANDRELL_MINGW_BINMODE)
    target_link_libraries(gtest_main PUBLIC ${ZANDRELL_MINGW_BINMODE})
  endif()
endif()
