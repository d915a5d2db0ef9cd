# The programs' texts as Qt's translation tools see them. Each program's
# folders are scanned as a whole, so that a text added anywhere is found.
set(VELMIRA_TEXT_FOLDERS_velmira statistics calculation window app)
set(VELMIRA_TEXT_FOLDERS_velmira-stats workbook caselog evidence tablecheck report releases statsapp)
set(VELMIRA_TEXT_FOLDERS_velmira-stats-gui statsgui tableinstall)
set(VELMIRA_TEXT_PROGRAMS velmira velmira-stats velmira-stats-gui)
set(VELMIRA_TRANSLATIONS_DIR "${PROJECT_BINARY_DIR}/translations")

# A cross build's Qt is the target's, without the tools; the texts are the same
# in every build, and the native ones check them.
if(CMAKE_CROSSCOMPILING)
    return()
endif()
find_package(${QT}LinguistTools QUIET)
if(NOT TARGET ${QT}::lupdate OR NOT TARGET ${QT}::lrelease)
    message(STATUS "No ${QT} Linguist tools (Debian: qttools5-dev, or qt6-tools-dev and "
                   "qt6-l10n-tools): no velmira_lupdate target, no check of the texts")
    return()
endif()

# cmake --build BUILD --target velmira_lupdate writes BUILD/translations/PROGRAM.ts,
# the files a translator starts from.
set(lupdate_commands COMMAND ${CMAKE_COMMAND} -E make_directory "${VELMIRA_TRANSLATIONS_DIR}")
foreach(program IN LISTS VELMIRA_TEXT_PROGRAMS)
    list(APPEND lupdate_commands
        COMMAND ${QT}::lupdate -no-obsolete -locations relative ${VELMIRA_TEXT_FOLDERS_${program}}
                -ts "${VELMIRA_TRANSLATIONS_DIR}/${program}.ts")
endforeach()
add_custom_target(velmira_lupdate
    ${lupdate_commands}
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    COMMENT "lupdate: the programs' texts into ${VELMIRA_TRANSLATIONS_DIR}"
    VERBATIM)
