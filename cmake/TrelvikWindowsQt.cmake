# SPDX-License-Identifier: MIT
# Debian ships no Qt for MinGW. scripts/build-qt-windows.sh builds one into a cache folder named
# after the Qt and compiler versions; a Windows cross build with TRELVIK_GUI=AUTO has the window
# when that folder holds a complete Qt, and is the core-and-CLI build otherwise.
# TRELVIK_WINDOWS_QT names another Qt for MinGW (its install prefix) instead.
# Sets TRELVIK_GUI to ON or OFF.
set(TRELVIK_WINDOWS_QT "" CACHE PATH "Qt 6 for MinGW to build the window with; empty: the cache of scripts/build-qt-windows.sh")
set(qt ${TRELVIK_WINDOWS_QT})
if(NOT qt)
  execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/build-qt-windows.sh --where
                  OUTPUT_VARIABLE qt OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE missing)
  if(missing)
    message(STATUS "No Qt for MinGW in ${qt}: building without the window "
                   "(bash scripts/build-qt-windows.sh builds that Qt, about an hour)")
    set(TRELVIK_GUI OFF)
    return()
  endif()
endif()
message(STATUS "Qt for MinGW: ${qt}")
# The toolchain confines package searches to its find root; Qt's prefix joins it. moc, rcc and
# uic are Debian's own, of the same Qt release.
list(APPEND CMAKE_FIND_ROOT_PATH ${qt})
list(APPEND CMAKE_PREFIX_PATH ${qt})
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
set(TRELVIK_GUI ON)
