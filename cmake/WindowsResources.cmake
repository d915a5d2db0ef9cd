# The Windows program's own resources: the icon that Explorer, the Start menu,
# the installer and "Programs and Features" show, drawn at build time from
# data/stet.svg with Debian's rsvg-convert and icotool (icoutils), and the
# version details of its Properties dialog, from the project's version.
enable_language(RC)

set(VELMIRA_PUBLISHER "Velmira developers")
set(VELMIRA_HOMEPAGE "https://velmira.example.org" CACHE STRING
    "Web page of the program, named by the package and the AppStream metadata")
# The Russian summary of the desktop entry and the AppStream metadata.
set(VELMIRA_WINDOWS_DESCRIPTION "Расчет вероятности успешной установки мочеточникового кожуха")
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" VELMIRA_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)

foreach(tool rsvg-convert icotool pngtopnm ppmtobmp)
    string(MAKE_C_IDENTIFIER "VELMIRA_${tool}" variable)
    find_program(${variable} ${tool})
    if(NOT ${variable} AND CMAKE_CROSSCOMPILING)
        message(FATAL_ERROR "${tool} is missing: scripts/setup.sh windows installs it")
    elseif(NOT ${variable})
        # A build on Windows itself, where Debian's tools are rarely at hand.
        message(STATUS "No ${tool}: velmira.exe gets no icon and no version details")
        return()
    endif()
endforeach()

set(svg "${PROJECT_SOURCE_DIR}/data/stet.svg")
set(icon_dir "${PROJECT_BINARY_DIR}/icon")
file(MAKE_DIRECTORY "${icon_dir}")

# The sizes Windows picks from: small icons, the Start menu, Explorer's views.
set(images "")
foreach(size 16 24 32 48 256)
    set(png "${icon_dir}/stet-${size}.png")
    add_custom_command(OUTPUT "${png}"
        COMMAND "${VELMIRA_rsvg_convert}" --format=png --width=${size} --height=${size}
                --output "${png}" "${svg}"
        DEPENDS "${svg}" VERBATIM)
    list(APPEND images "${png}")
endforeach()
set(VELMIRA_WINDOWS_ICON "${icon_dir}/velmira.ico")
add_custom_command(OUTPUT "${VELMIRA_WINDOWS_ICON}"
    COMMAND "${VELMIRA_icotool}" --create --output "${VELMIRA_WINDOWS_ICON}" ${images}
    DEPENDS ${images} VERBATIM)

# The installer's welcome and finish pages show the icon in their left panel,
# a 164 x 314 bitmap.
set(VELMIRA_INSTALLER_BITMAP "${icon_dir}/installer.bmp")
add_custom_command(OUTPUT "${VELMIRA_INSTALLER_BITMAP}"
    COMMAND "${VELMIRA_rsvg_convert}" --format=png --width=128 --height=128
            --page-width=164 --page-height=314 --left=18 --top=40 --background-color=white
            --output "${icon_dir}/installer.png" "${svg}"
    COMMAND sh -c "\"$1\" \"$3\" | \"$2\" -bpp 24 >\"$4\"" sh
            "${VELMIRA_pngtopnm}" "${VELMIRA_ppmtobmp}" "${icon_dir}/installer.png"
            "${VELMIRA_INSTALLER_BITMAP}"
    DEPENDS "${svg}" VERBATIM)

# velmira_windows_resources(program description): the icon and the version
# details of program.exe.
function(velmira_windows_resources program description)
    set(VELMIRA_RC_PROGRAM "${program}")
    set(VELMIRA_RC_DESCRIPTION "${description}")
    set(rc "${PROJECT_BINARY_DIR}/${program}.rc")
    configure_file(data/windows/velmira.rc.in "${rc}" @ONLY)
    set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${VELMIRA_WINDOWS_ICON}")
    target_sources(${program} PRIVATE "${rc}" "${VELMIRA_WINDOWS_ICON}")
endfunction()

velmira_windows_resources(velmira "${VELMIRA_WINDOWS_DESCRIPTION}")
# The bitmap is listed so that building the program makes it, ready for CPack.
target_sources(velmira PRIVATE "${VELMIRA_INSTALLER_BITMAP}")
# The keeper's window.
velmira_windows_resources(velmira-stats-gui "Velmira — статистика клиники")
