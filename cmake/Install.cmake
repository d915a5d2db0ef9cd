# Installation. The program reads its data from the working directory, so
# bin/velmira is a launcher that picks the folder and starts the program
# installed in libexec/velmira. The statistics files a clinic edits live in the
# configuration folder (/etc/velmira under the prefix /usr); the data folder
# links to them and holds the picture and icon.
include(GNUInstallDirs)

set(VELMIRA_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/velmira")
set(VELMIRA_PROGRAM_INSTALL_DIR "${CMAKE_INSTALL_LIBEXECDIR}/velmira")
set(VELMIRA_ICON_DIR "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
set(VELMIRA_HOMEPAGE "https://velmira.example.org" CACHE STRING
    "Web page of the program, named by the AppStream metadata")
# The AppStream component id, in the reverse-DNS form software centres expect.
set(VELMIRA_APP_ID org.example.velmira)
# The day of this version, for the AppStream release (debian/changelog has it too).
set(VELMIRA_RELEASE_DATE 2026-12-09)

install(TARGETS velmira RUNTIME DESTINATION "${VELMIRA_PROGRAM_INSTALL_DIR}")
# velmira-stats reads no data from its working folder: a command like any other.
install(TARGETS velmira-stats RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES data/Tavrel.jpg data/stet.png DESTINATION "${VELMIRA_DATA_INSTALL_DIR}")
foreach(size 48 128 256)
    set(icon data/stet.png)
    if(NOT size EQUAL 128)
        set(icon data/stet-${size}.png)
    endif()
    install(FILES ${icon} DESTINATION "${VELMIRA_ICON_DIR}/${size}x${size}/apps"
            RENAME velmira.png)
endforeach()
install(FILES data/stet.svg DESTINATION "${VELMIRA_ICON_DIR}/scalable/apps"
        RENAME velmira.svg)
# Uncompressed: the Debian package's dh_compress compresses them, and man reads both.
install(FILES data/velmira.1 data/velmira-stats.1 DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
configure_file(data/velmira.metainfo.xml.in "${VELMIRA_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${VELMIRA_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# velmira-stats --install run by pkexec for the keeper's window: the polkit
# action names /usr/bin/velmira-stats, as the Debian package installs it.
install(FILES data/org.example.velmira.install-tables.policy
        DESTINATION "${CMAKE_INSTALL_DATADIR}/polkit-1/actions")

# The keeper's window: its program, manual page,
# AppStream component and (written at install time) desktop entry.
install(TARGETS velmira-stats-gui RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES data/velmira-stats-gui.1 DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
configure_file(data/velmira-stats-gui.metainfo.xml.in
               "${VELMIRA_APP_ID}.stats.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${VELMIRA_APP_ID}.stats.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Everything that names absolute paths is written at install time.
configure_file(cmake/InstallSteps.cmake.in InstallSteps.cmake @ONLY)
install(SCRIPT "${PROJECT_BINARY_DIR}/InstallSteps.cmake")
