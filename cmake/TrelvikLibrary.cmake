# SPDX-License-Identifier: MIT
# trelvik_add_library(NAME SOURCES... [DEPS ...]): a static library of one subsystem,
# with the tree's src/ folder as include root ("cmdtable/MassCmd.h").
function(trelvik_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TRELVIK_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()
