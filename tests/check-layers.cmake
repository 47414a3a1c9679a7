# Lists every include in src/ and tools/ that points upward in the layer order of
# cmake/layers.cmake, climbs out of its folder, or names an operating-system header
# outside src/platform; fails when there is any.
#   cmake -DZANDRELL_SOURCE_DIR=<checkout> -P tests/check-layers.cmake
if(NOT ZANDRELL_SOURCE_DIR)
  get_filename_component(ZANDRELL_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
endif()
include(${ZANDRELL_SOURCE_DIR}/cmake/layers.cmake)

set(os_headers windows winsock winsock2 shlobj shellapi commdlg io direct process
  unistd fcntl signal pthread dirent poll termios dlfcn spawn)
list(JOIN os_headers "|" os_headers)
set(os_headers "(${os_headers})\\.h|sys/.*")

file(GLOB_RECURSE files RELATIVE ${ZANDRELL_SOURCE_DIR}
  ${ZANDRELL_SOURCE_DIR}/src/*.h ${ZANDRELL_SOURCE_DIR}/src/*.cpp
  ${ZANDRELL_SOURCE_DIR}/tools/*.h ${ZANDRELL_SOURCE_DIR}/tools/*.cpp)
list(SORT files)

set(findings)
foreach(file IN LISTS files)
  if(file MATCHES "^src/([^/]+)/")
    set(layer ${CMAKE_MATCH_1})
  else()
    set(layer ${ZANDRELL_TOOLS_LAYER})
  endif()
  list(FIND ZANDRELL_LAYERS ${layer} rank)
  if(rank LESS 0)
    list(APPEND findings "${file}: folder ${layer} is in no layer (cmake/layers.cmake)")
    continue()
  endif()
  file(STRINGS ${ZANDRELL_SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(line MATCHES "include[ \t]*\"([^\"]+)\"")
      set(target ${CMAKE_MATCH_1})
      if(NOT target MATCHES "\\.\\." AND target MATCHES "^([^/]+)/")
        set(target_layer ${CMAKE_MATCH_1})
        list(FIND ZANDRELL_LAYERS ${target_layer} target_rank)
        if(target_rank GREATER rank)
          list(APPEND findings "${file}: ${layer} includes ${target} from the higher layer ${target_layer}")
        elseif(target_rank LESS 0)
          list(APPEND findings "${file}: ${target} is in no layer")
        endif()
      else()
        list(APPEND findings "${file}: ${target} is not a path from src/ (layer/file)")
      endif()
    elseif(line MATCHES "include[ \t]*<(${os_headers})>" AND NOT layer STREQUAL "platform")
      list(APPEND findings "${file}: operating-system header <${CMAKE_MATCH_1}> outside src/platform")
    endif()
  endforeach()
endforeach()

if(findings)
  list(LENGTH findings count)
  string(REPLACE ";" "\n  " listing "${findings}")
  message(FATAL_ERROR "${count} include(s) break the layer order:\n  ${listing}")
endif()
list(LENGTH files count)
message(STATUS "layers: ${count} files, every include points down or sideways")
