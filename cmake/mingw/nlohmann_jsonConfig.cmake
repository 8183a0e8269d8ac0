# SPDX-License-Identifier: MIT
# nlohmann-json is header-only, so the Linux package serves a Windows build too, but its own
# package file names /usr/include as the include folder: handed to the cross compiler, glibc's
# headers would shadow MinGW's. The same target here sees a folder holding only the library.
set(TRELVIK_JSON_HEADERS /usr/include/nlohmann CACHE PATH "Folder of nlohmann/json.hpp for the cross build")
if(NOT EXISTS ${TRELVIK_JSON_HEADERS}/json.hpp)
  set(nlohmann_json_FOUND FALSE)
  set(nlohmann_json_NOT_FOUND_MESSAGE "no json.hpp in ${TRELVIK_JSON_HEADERS} (Debian package nlohmann-json3-dev)")
  return()
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  set(_trelvik_json_root ${CMAKE_BINARY_DIR}/cross-include/nlohmann_json)
  if(NOT EXISTS ${_trelvik_json_root}/nlohmann)
    file(MAKE_DIRECTORY ${_trelvik_json_root})
    file(CREATE_LINK ${TRELVIK_JSON_HEADERS} ${_trelvik_json_root}/nlohmann SYMBOLIC)
  endif()
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_trelvik_json_root})
endif()
