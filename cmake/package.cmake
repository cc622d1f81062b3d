# Kelpie's Debian package, built by CPack from the install rules: `./package.sh`, or
# `cpack -G DEB` in a Release build folder, makes kelpie_<version>_<arch>.deb for /usr.
include(GNUInstallDirs)

set(KELPIE_APPSTREAM_ID io.github.kelpie_net.Kelpie)
set(KELPIE_PACKAGE_MAINTAINER "Kelpie maintainers <maintainers@kelpie-net.example>"
    CACHE STRING "Maintainer field of the Debian package (name <address>)")

# The software-centre entry and the manual page.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KELPIE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual page and changelog are installed compressed, as Debian wants them; gzip -n leaves out
# the name and time, so the same sources give the same package. Made again whenever CMake runs,
# which an edit of either source triggers.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/packaging/kelpie.1 ${CMAKE_SOURCE_DIR}/packaging/changelog.in)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog
               @ONLY)
foreach(f packaging/kelpie.1 ${CMAKE_BINARY_DIR}/packaging/changelog)
  get_filename_component(n ${f} NAME)
  execute_process(COMMAND gzip -9nc INPUT_FILE ${f} OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/${n}.gz
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/packaging/kelpie.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelpie)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelpie)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KELPIE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "net control logbook for amateur-radio nets")
# CPack puts the summary above the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kelpie is the logbook of the net control station of a regular amateur-radio
net. The operator types the callsign of each station that checks in; Kelpie
looks the station up in the net's roster, the club list and the name list,
lists it with a number, and keeps the day's log on disk after every change.
When the net is closed, the day's check-ins are folded into the roster.
.
It also gives grid squares with beam headings and distances from the
operator's ADIF log, statistics over past nets, printed reports, a text
summary, a past-log viewer, callsign changes and a web lookup.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (dpkg-shlibdeps), and the monospaced face of the roster view
# and the printouts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
include(CPack)
