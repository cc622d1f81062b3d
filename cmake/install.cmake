# Where `cmake --install` puts Kelpie: the program in bin, its help in share/kelpie, its icon
# in the hicolor theme and a desktop entry, so it shows up in the desktop's menu.
include(GNUInstallDirs)

install(TARGETS kelpie RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/help/kelpie-help.html ${CMAKE_SOURCE_DIR}/help/ics309.png
              ${CMAKE_SOURCE_DIR}/help/ics214.png DESTINATION ${CMAKE_INSTALL_DATADIR}/kelpie)
install(FILES ${CMAKE_SOURCE_DIR}/resources/kelpie.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/kelpie.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelpie.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The help window looks for the document beside the program first, then in the share folder as
# seen from the bin folder.
file(RELATIVE_PATH KELPIE_HELP_FROM_BINDIR "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/kelpie")
target_compile_definitions(kelpie_qt PRIVATE KELPIE_HELP_FROM_BINDIR="${KELPIE_HELP_FROM_BINDIR}")

# A built, not installed Kelpie (and the tests) find the help beside the program; the copy is
# refreshed whenever the document changes.
configure_file(${CMAKE_SOURCE_DIR}/help/kelpie-help.html ${CMAKE_BINARY_DIR}/kelpie-help.html
               COPYONLY)
# The pictures of the ICS forms in the help.
foreach(picture ics309.png ics214.png)
  configure_file(${CMAKE_SOURCE_DIR}/help/${picture} ${CMAKE_BINARY_DIR}/${picture} COPYONLY)
endforeach()
