# What `cmake --install` adds beside the program: the desktop entry, its icon
# and the help pages the header's links open (found beside the program as
# ../share/tuji/help).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tuji.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/ui/images/tuji.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/app/ui/help/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tuji/help
        FILES_MATCHING PATTERN "*.html")
