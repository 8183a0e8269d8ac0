# SPDX-License-Identifier: MIT
# Each library sees the headers of what it links and nothing else. A library's public include
# root is a folder of its own, build/include/<target>/, holding links to the parts of src/ it
# offers ("link" -> src/link, or single headers such as "platform/Disk.h"). A header of a
# library that is not linked is simply not found, so a wrong-way include fails to build.

# trelvik_expose(TARGET ENTRY...): offers src/<ENTRY> (a folder or a header) under TARGET's
# include root.
function(trelvik_expose target)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  # The folder is made afresh at each configuration, so no link of an earlier layout (a whole
  # folder where single headers are offered now) lingers; removing it never follows links.
  get_property(made GLOBAL PROPERTY TRELVIK_EXPOSED_${target})
  if(NOT made)
    file(REMOVE_RECURSE ${root})
    set_property(GLOBAL PROPERTY TRELVIK_EXPOSED_${target} TRUE)
  endif()
  foreach(entry ${ARGN})
    set(link ${root}/${entry})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(REAL_PATH ${parent} real_parent)
    file(REAL_PATH ${root} real_root)
    string(FIND "${real_parent}/" "${real_root}/" at)
    if(NOT at EQUAL 0)
      message(FATAL_ERROR "${entry}: ${parent} leads out of ${root}; offer a folder or its headers, not both")
    endif()
    # Where links cannot be made (Windows without developer mode) a copy serves.
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${entry} ${link} SYMBOLIC COPY_ON_ERROR)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# trelvik_add_library(NAME SOURCES... [DEPS ...] [PRIVATE_DEPS ...]): a static library of one
# subsystem, offering the headers of its folder ("cmdtable/MassCmd.h"), but not those of the
# folder's Qt half in ui/. DEPS are the libraries whose headers
# its own headers include; PRIVATE_DEPS those only its sources use.
function(trelvik_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  trelvik_expose(${name} ${headers})
  target_compile_options(${name} PRIVATE ${TRELVIK_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()
