# Cross build for 64-bit Windows with mingw-w64; the tests run under wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZANDRELL_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: std::thread and friends work, and -static pulls
# winpthread in, so the program needs no DLL beside the system ones.
set(CMAKE_C_COMPILER ${ZANDRELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZANDRELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZANDRELL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZANDRELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest (and test discovery) start every Windows binary through wine, by way of
# wine-run.sh: a prefix of its own inside the build tree, quiet, and headless.
# Debian keeps the 64-bit loader outside PATH; /usr/bin/wine only wraps it.
find_program(ZANDRELL_WINE NAMES wine64 wine
  PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin NO_CMAKE_FIND_ROOT_PATH)
if(ZANDRELL_WINE)
  set(ZANDRELL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "wine prefix for the tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR
    /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${ZANDRELL_WINE} ${ZANDRELL_WINEPREFIX})
endif()
