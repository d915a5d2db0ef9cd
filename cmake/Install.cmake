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
    "Web page of the program, named by the package and the AppStream metadata")
# The AppStream component id, in the reverse-DNS form software centres expect.
set(VELMIRA_APP_ID org.example.velmira)
# The day of this version, for the AppStream release and the package changelog.
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
configure_file(data/velmira.metainfo.xml.in "${VELMIRA_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${VELMIRA_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Everything that names absolute paths is written at install time: `cmake
# --install --prefix` and cpack may choose another prefix than the configured
# one. Compressed files use `gzip -n`, which stores no name or time.
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    # The configuration folder as GNUInstallDirs places it for the prefix.
    if(prefix STREQUAL \"/usr\" OR prefix STREQUAL \"/\")
        set(config_dir /etc/velmira)
    else()
        set(config_dir \"\${prefix}/etc/velmira\")
    endif()
    set(VELMIRA_CONFIG_DIR \"\${config_dir}\")
    set(VELMIRA_DATA_DIR \"\${prefix}/${VELMIRA_DATA_INSTALL_DIR}\")
    set(VELMIRA_PROGRAM \"\${prefix}/${VELMIRA_PROGRAM_INSTALL_DIR}/velmira\")
    set(VELMIRA_EXEC \"\${prefix}/${CMAKE_INSTALL_BINDIR}/velmira\")
    set(VELMIRA_PATH \"\${VELMIRA_DATA_DIR}\")
    set(staging \"${PROJECT_BINARY_DIR}/install\")

    file(INSTALL \"${PROJECT_SOURCE_DIR}/data/Statistics_1.txt\"
                 \"${PROJECT_SOURCE_DIR}/data/Statistics_2.txt\"
         DESTINATION \"\${config_dir}\")
    foreach(name Statistics_1.txt Statistics_2.txt)
        set(link \"\$ENV{DESTDIR}\${VELMIRA_DATA_DIR}/\${name}\")
        message(STATUS \"Installing: \${link} -> \${config_dir}/\${name}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${VELMIRA_DATA_DIR}\")
        file(REMOVE \"\${link}\")
        file(CREATE_LINK \"\${config_dir}/\${name}\" \"\${link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    endforeach()

    configure_file(\"${PROJECT_SOURCE_DIR}/data/velmira.in\" \"\${staging}/velmira\" @ONLY)
    file(INSTALL \"\${staging}/velmira\" DESTINATION \"\${prefix}/${CMAKE_INSTALL_BINDIR}\"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
    configure_file(\"${PROJECT_SOURCE_DIR}/data/velmira.desktop.in\"
                   \"\${staging}/velmira.desktop\" @ONLY)
    file(INSTALL \"\${staging}/velmira.desktop\"
         DESTINATION \"\${prefix}/${CMAKE_INSTALL_DATADIR}/applications\")

    execute_process(COMMAND gzip -n -9 -c \"${PROJECT_SOURCE_DIR}/data/velmira.1\"
                    OUTPUT_FILE \"\${staging}/velmira.1.gz\" COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND gzip -n -9 -c \"${PROJECT_SOURCE_DIR}/data/velmira-stats.1\"
                    OUTPUT_FILE \"\${staging}/velmira-stats.1.gz\" COMMAND_ERROR_IS_FATAL ANY)
    file(INSTALL \"\${staging}/velmira.1.gz\" \"\${staging}/velmira-stats.1.gz\"
         DESTINATION \"\${prefix}/${CMAKE_INSTALL_MANDIR}/man1\")
")

# The installed program carries no symbol table, as dh_strip would leave it,
# whether or not the install or cpack was asked to strip.
if(CMAKE_STRIP)
    install(CODE "
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELMIRA_PROGRAM_INSTALL_DIR}/velmira\"
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velmira-stats\"
            COMMAND_ERROR_IS_FATAL ANY)
    ")
endif()

include(cmake/PackageDebian.cmake)
