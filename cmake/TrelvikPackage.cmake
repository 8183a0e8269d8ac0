# SPDX-License-Identifier: MIT
# Installation and the Debian package (cpack -G DEB, or the package target).
#
# Each tool lives in a folder of its own beside its command file, because it looks for the
# file beside its real path; the PATH gets relative links, so an installation moved to
# another prefix still finds its files. trelvik-cli reads no file beside itself (command
# files are arguments), so it is an ordinary program in bin.
include(GNUInstallDirs)

set(TRELVIK_APP_ID org.trelvik.Trelvik)
set(TRELVIK_DEB_REVISION 1)
set(TRELVIK_LIB_DIR lib/trelvik) # not CMAKE_INSTALL_LIBDIR: that is multiarch on Debian
set(TRELVIK_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package-files)
set(TRELVIK_PACKAGE_FILES)

# trelvik_install_link(LINK TARGET): a relative symbolic link LINK (under the prefix) to TARGET.
function(trelvik_install_link link target)
  get_filename_component(dir ${link} DIRECTORY)
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}\")
                file(CREATE_LINK \"${target}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\" SYMBOLIC)
                message(STATUS \"Installing link: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link} -> ${target}\")")
endfunction()

if(TARGET trelvik)
  install(TARGETS trelvik RUNTIME DESTINATION ${TRELVIK_LIB_DIR})
  install(FILES data/mass_cmd.ini DESTINATION ${TRELVIK_LIB_DIR})
  install(TARGETS trelvik RUNTIME DESTINATION ${TRELVIK_LIB_DIR}/settings)
  install(FILES data/Camera_Setting.ini data/Camera_Setting_UNICODE_msg.ini DESTINATION ${TRELVIK_LIB_DIR}/settings)
  trelvik_install_link(${CMAKE_INSTALL_BINDIR}/trelvik ../${TRELVIK_LIB_DIR}/trelvik)
  trelvik_install_link(${CMAKE_INSTALL_BINDIR}/trelvik-settings ../${TRELVIK_LIB_DIR}/settings/trelvik)
  install(FILES data/desktop/${TRELVIK_APP_ID}.desktop data/desktop/${TRELVIK_APP_ID}.Settings.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/desktop/${TRELVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/desktop/${TRELVIK_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  find_program(TRELVIK_RSVG_CONVERT rsvg-convert)
  if(TRELVIK_RSVG_CONVERT)
    foreach(size 16 22 24 32 48 64 128 256)
      set(png ${TRELVIK_PACKAGE_DIR}/icons/${size}x${size}/${TRELVIK_APP_ID}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TRELVIK_PACKAGE_DIR}/icons/${size}x${size}
        COMMAND ${TRELVIK_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${PROJECT_SOURCE_DIR}/data/desktop/${TRELVIK_APP_ID}.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/data/desktop/${TRELVIK_APP_ID}.svg VERBATIM)
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
      list(APPEND TRELVIK_PACKAGE_FILES ${png})
    endforeach()
  else()
    message(STATUS "rsvg-convert not found: no PNG icons (scripts/install-deps.sh installs librsvg2-bin)")
  endif()
endif()
if(TARGET trelvik-cli)
  install(TARGETS trelvik-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/completion/trelvik-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

# Manual pages from the programs' own --help and --version, with the sections help cannot
# hold (files, the simulated camera, the udev rule) from data/man/*.h2m.
find_program(TRELVIK_HELP2MAN help2man)
if(TRELVIK_HELP2MAN AND TARGET trelvik AND TARGET trelvik-cli)
  set(man ${TRELVIK_PACKAGE_DIR}/man)
  set(h2m ${PROJECT_SOURCE_DIR}/data/man)
  add_custom_command(OUTPUT ${man}/trelvik.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
    COMMAND bash ${h2m}/page.sh ${TRELVIK_HELP2MAN} ${man}/trelvik.1.gz $<TARGET_FILE:trelvik> ${h2m}/trelvik.h2m
    DEPENDS trelvik ${h2m}/trelvik.h2m ${h2m}/page.sh VERBATIM)
  add_custom_command(OUTPUT ${man}/trelvik-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
    COMMAND bash ${h2m}/commands.sh $<TARGET_FILE:trelvik-cli> ${man}/trelvik-cli-commands.h2m
    COMMAND bash ${h2m}/page.sh ${TRELVIK_HELP2MAN} ${man}/trelvik-cli.1.gz $<TARGET_FILE:trelvik-cli>
            ${h2m}/trelvik-cli.h2m ${man}/trelvik-cli-commands.h2m
    DEPENDS trelvik-cli ${h2m}/trelvik-cli.h2m ${h2m}/commands.sh ${h2m}/page.sh VERBATIM)
  list(APPEND TRELVIK_PACKAGE_FILES ${man}/trelvik.1.gz ${man}/trelvik-cli.1.gz)
  install(FILES ${man}/trelvik.1.gz ${man}/trelvik-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  trelvik_install_link(${CMAKE_INSTALL_MANDIR}/man1/trelvik-settings.1.gz trelvik.1.gz)
elseif(NOT TRELVIK_HELP2MAN)
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()

# The udev rule goes where udev reads packaged rules: under /usr that is the system's udev
# folder (udev.pc says which; Debian 12: /lib/udev), under any other prefix
# PREFIX/lib/udev/rules.d (udev reads /usr/local/lib/udev/rules.d; elsewhere the rule waits
# to be copied). Decided at install time, since cpack installs with prefix /usr whatever
# the build was configured with. file(INSTALL) puts DESTDIR in front by itself.
find_package(PkgConfig QUIET)
set(TRELVIK_SYSTEM_UDEV_DIR /lib/udev)
if(PkgConfig_FOUND)
  pkg_get_variable(UDEV_DIR udev udevdir)
  if(UDEV_DIR)
    set(TRELVIK_SYSTEM_UDEV_DIR ${UDEV_DIR})
  endif()
endif()
install(CODE "if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
                set(trelvik_rules_dir \"${TRELVIK_SYSTEM_UDEV_DIR}/rules.d\")
              else()
                set(trelvik_rules_dir \"\${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d\")
              endif()
              file(INSTALL DESTINATION \"\${trelvik_rules_dir}\" TYPE FILE
                   FILES \"${PROJECT_SOURCE_DIR}/data/udev/70-trelvik.rules\")")

# Debian's documentation files: the copyright and a changelog whose newest entry is this
# version, so the package never claims another one.
file(STRINGS data/debian/changelog changelog_head LIMIT_COUNT 1)
set(deb_version ${PROJECT_VERSION}-${TRELVIK_DEB_REVISION})
if(NOT changelog_head MATCHES "^trelvik \\(${deb_version}\\) ")
  message(FATAL_ERROR "data/debian/changelog starts with '${changelog_head}', not version ${deb_version}: "
                      "add an entry for it")
endif()
add_custom_command(OUTPUT ${TRELVIK_PACKAGE_DIR}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TRELVIK_PACKAGE_DIR}
  COMMAND sh -c "gzip -9n < '${PROJECT_SOURCE_DIR}/data/debian/changelog' > '${TRELVIK_PACKAGE_DIR}/changelog.Debian.gz'"
  DEPENDS data/debian/changelog VERBATIM)
list(APPEND TRELVIK_PACKAGE_FILES ${TRELVIK_PACKAGE_DIR}/changelog.Debian.gz)
install(FILES data/debian/copyright ${TRELVIK_PACKAGE_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trelvik)
install(FILES data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME trelvik)

# Everything generated for the package: built by scripts/package.sh before cpack.
add_custom_target(trelvik_package_files ALL DEPENDS ${TRELVIK_PACKAGE_FILES})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TRELVIK_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "The Trelvik developers <trelvik@trelvik.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The text settings show control bytes as Unicode control pictures (U+2400-U+2426), which no
# font a desktop brings by itself is sure to hold; FreeSans does.
# ICU is loaded at run time, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-freefont-ttf, ${TRELVIK_ICU_PACKAGE}")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS sg3-utils)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "configure a USB trail camera without root
Trelvik sets up a battery-powered trail camera over its USB cable: its
settings, clock, storage media and identity, through the camera's vendor
SCSI commands on its sg node.
.
The package holds the full tool (trelvik), the end users' settings tool
(trelvik-settings), the command-line companion trelvik-cli, and a udev rule
that gives the logged-in user and the group plugdev access to the camera.
Both programs have a built-in simulated camera (--simulate).")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/debian/postinst
                                       ${PROJECT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(CPACK_THREADS 2)
include(CPack)
