# The Debian package (`make package`, or cpack -G DEB in the build directory)
# and the install rules for everything but the programs, which their own
# directories install. `cmake --install` lays out the same tree as the package.

set(TAMSEL_PACKAGE_MAINTAINER "The Tamsel developers <tamsel@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(_pkg_src ${CMAKE_CURRENT_LIST_DIR})
set(_pkg_out ${CMAKE_BINARY_DIR}/packaging)

# The changelog is kept by hand; a version bump without an entry would ship a
# changelog that disagrees with the package.
file(STRINGS ${_pkg_src}/changelog _newest LIMIT_COUNT 1)
if(NOT _newest MATCHES "^tamsel \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: its newest entry is not for version ${PROJECT_VERSION}: ${_newest}")
endif()

# Debian wants the changelog and the manual pages compressed, without a name
# or time stamp in the gzip header so that rebuilds are identical.
set(_gz_files)
configure_file(${_pkg_src}/changelog ${_pkg_out}/changelog COPYONLY)
set(_man_pages tamsel tamsel-cli tamsel-sim)
foreach(_page IN LISTS _man_pages)
  configure_file(${_pkg_src}/${_page}.1.in ${_pkg_out}/${_page}.1 @ONLY)
endforeach()
foreach(_file changelog tamsel.1 tamsel-cli.1 tamsel-sim.1)
  add_custom_command(OUTPUT ${_pkg_out}/${_file}.gz
                     COMMAND gzip -9 -n -k -f ${_file}
                     DEPENDS ${_pkg_out}/${_file}
                     WORKING_DIRECTORY ${_pkg_out}
                     VERBATIM)
  list(APPEND _gz_files ${_pkg_out}/${_file}.gz)
endforeach()
add_custom_target(tamsel_package_docs ALL DEPENDS ${_gz_files})

install(FILES ${_pkg_src}/tamsel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pkg_src}/tamsel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size 48 256)
  install(FILES ${_pkg_src}/tamsel-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME tamsel.png)
endforeach()
foreach(_page IN LISTS _man_pages)
  install(FILES ${_pkg_out}/${_page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The version has no Debian revision, so Debian counts the package as native
# and looks for changelog.gz, not changelog.Debian.gz.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${_pkg_src}/copyright ${_pkg_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "The Tamsel developers")
set(CPACK_PACKAGE_CONTACT "${TAMSEL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HART pressure transmitter configuration and calibration tool")
# Debian shows the lines as they are, so they are broken here.
set(CPACK_PACKAGE_DESCRIPTION "\
Tamsel configures and calibrates a HART pressure transmitter through a
HART modem on a serial port, in one window of ten modules, and keeps a
record of every operation.

The package also holds tamsel-cli, the same tool without a window, driven
by an action script, and tamsel-sim, a simulated HART modem and
transmitter on a pseudo-terminal.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
