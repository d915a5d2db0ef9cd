# Installation and the Debian package. The program reads its data from the
# working directory, so the desktop entry starts it in the installed data folder.
include(GNUInstallDirs)

set(VELMIRA_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/velmira")

install(TARGETS velmira RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES
    data/Statistics_1.txt
    data/Statistics_2.txt
    data/Tavrel.jpg
    data/stet.png
    DESTINATION "${VELMIRA_DATA_INSTALL_DIR}")
install(FILES data/stet.png
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps"
    RENAME velmira.png)

# The entry names absolute paths, which are known only at install time:
# `cmake --install --prefix` may choose another prefix than the configured one.
install(CODE "
    set(VELMIRA_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velmira\")
    set(VELMIRA_PATH \"\${CMAKE_INSTALL_PREFIX}/${VELMIRA_DATA_INSTALL_DIR}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/data/velmira.desktop.in\"
                   \"${PROJECT_BINARY_DIR}/install/velmira.desktop\" @ONLY)
    file(INSTALL \"${PROJECT_BINARY_DIR}/install/velmira.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmira)
set(CPACK_PACKAGE_VENDOR "Velmira developers")
set(CPACK_PACKAGE_CONTACT "Velmira developers <velmira@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Library dependencies come from dpkg-shlibdeps; the rest the libraries cannot tell.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
if(VELMIRA_QT_MAJOR STREQUAL "6")
    # Qt 6 ships its platform plugins (X11, Wayland) in a package of their own.
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
endif()
include(CPack)
