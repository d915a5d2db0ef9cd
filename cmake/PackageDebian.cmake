# The Debian package, built by `cpack -G DEB`. The Qt 6 build is a package of
# its own that takes the Qt 5 one's place, so `dpkg -l` tells which is installed.
if(VELMIRA_QT_MAJOR STREQUAL "6")
    set(VELMIRA_PACKAGE_NAME velmira-qt6)
    set(VELMIRA_OTHER_PACKAGE velmira)
else()
    set(VELMIRA_PACKAGE_NAME velmira)
    set(VELMIRA_OTHER_PACKAGE velmira-qt6)
endif()

# A clinic that builds its own package names itself here.
set(VELMIRA_PACKAGE_MAINTAINER "Velmira developers <velmira@packages.invalid>" CACHE STRING
    "The Debian package's Maintainer field: Name <address>")

set(VELMIRA_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/${VELMIRA_PACKAGE_NAME}")
set(VELMIRA_DEBIAN_DIR "${PROJECT_BINARY_DIR}/debian")

install(FILES data/debian/copyright DESTINATION "${VELMIRA_DOC_DIR}")
configure_file(data/debian/changelog.in "${VELMIRA_DEBIAN_DIR}/changelog" @ONLY)
# gzip -n: no name or time in the header, so that two builds give the same bytes.
install(CODE "
    execute_process(COMMAND gzip -n -9 -c \"${VELMIRA_DEBIAN_DIR}/changelog\"
                    OUTPUT_FILE \"${VELMIRA_DEBIAN_DIR}/changelog.gz\" COMMAND_ERROR_IS_FATAL ANY)
    file(INSTALL \"${VELMIRA_DEBIAN_DIR}/changelog.gz\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${VELMIRA_DOC_DIR}\")
")

# The statistics files in /etc are the clinic's: dpkg keeps its edits across
# upgrades and reinstalls, or asks, and removes them only on purge.
file(WRITE "${VELMIRA_DEBIAN_DIR}/conffiles"
     "/etc/velmira/Statistics_1.txt\n/etc/velmira/Statistics_2.txt\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VELMIRA_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Velmira developers")
set(CPACK_PACKAGE_CONTACT "${VELMIRA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
file(READ data/debian/description CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The files under /etc are the package's own, not a stray absolute path.
set(CPACK_WARN_ON_ABSOLUTE_INSTALL_DESTINATION OFF)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMIRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELMIRA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SOURCE velmira)
set(CPACK_DEBIAN_PACKAGE_CONFLICTS ${VELMIRA_OTHER_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_REPLACES ${VELMIRA_OTHER_PACKAGE})
if(VELMIRA_QT_MAJOR STREQUAL "6")
    set(CPACK_DEBIAN_PACKAGE_PROVIDES velmira)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${VELMIRA_DEBIAN_DIR}/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies come from dpkg-shlibdeps; the rest the libraries cannot tell.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
if(VELMIRA_QT_MAJOR STREQUAL "6")
    # Qt 6 ships its platform plugins (X11, Wayland) in a package of their own.
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
endif()

# Read by cpack when it runs: time stamps in the package are those of the last
# commit, so that two builds of one commit give the same bytes.
set(VELMIRA_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
configure_file(cmake/CPackProjectConfig.cmake.in "${VELMIRA_DEBIAN_DIR}/CPackProjectConfig.cmake"
               @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${VELMIRA_DEBIAN_DIR}/CPackProjectConfig.cmake")
include(CPack)
