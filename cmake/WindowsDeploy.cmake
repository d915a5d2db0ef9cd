# The Windows program as a folder: velmira.exe, the DLLs it loads, the Qt
# plugins it needs and the four data files, laid out so that the folder runs
# as it is (the ZIP) and is what the installer puts in Program Files.

# Qt's prefix, from the Qt5Core package that find_package found.
get_filename_component(VELMIRA_QT_PREFIX "${${QT}Core_DIR}/../../.." ABSOLUTE)

# The MinGW runtime DLLs are where the compiler finds them. (With MSVC the
# runtime comes from Microsoft's own installer, and windeployqt deploys.)
set(VELMIRA_DLL_DIRS "${VELMIRA_QT_PREFIX}/bin")
if(MINGW)
    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
            OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${runtime_path}" OR NOT EXISTS "${runtime_path}")
            message(FATAL_ERROR "The compiler does not know where ${runtime} is")
        endif()
        get_filename_component(runtime_dir "${runtime_path}" DIRECTORY)
        get_filename_component(runtime_dir "${runtime_dir}" REALPATH)
        list(APPEND VELMIRA_DLL_DIRS "${runtime_dir}")
    endforeach()
endif()
# zlib, under minizip compiled here: its DLL lies beside its import library
# (Debian's MinGW-w64 packages) or in the bin folder beside lib.
if(ZLIB_FOUND)
    foreach(zlib_library IN LISTS ZLIB_LIBRARIES)
        get_filename_component(zlib_dir "${zlib_library}" DIRECTORY)
        foreach(dir "${zlib_dir}" "${zlib_dir}/../bin")
            if(EXISTS "${dir}/zlib1.dll")
                get_filename_component(dir "${dir}" REALPATH)
                list(APPEND VELMIRA_DLL_DIRS "${dir}")
            endif()
        endforeach()
    endforeach()
endif()
list(REMOVE_DUPLICATES VELMIRA_DLL_DIRS)

# Tests and try_run execute the cross-built programs under Wine, in a prefix of
# this build folder, finding Qt and the MinGW runtime through WINEPATH.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    string(REPLACE ";" ":" dll_path "${VELMIRA_DLL_DIRS}")
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;--prefix;${PROJECT_BINARY_DIR}/wine;--path;${dll_path}")
endif()

install(TARGETS velmira RUNTIME DESTINATION .)
# The console program that builds a clinic's tables, beside the calculator;
# the keeper's window runs it elevated to install them.
install(TARGETS velmira-stats RUNTIME DESTINATION .)
install(TARGETS velmira-stats-gui RUNTIME DESTINATION .)
# Windows has no man: velmira-stats --help points to this file beside it.
install(FILES README.md DESTINATION . RENAME README.txt)
install(FILES
    data/Statistics_1.txt
    data/Statistics_2.txt
    data/Tavrel.jpg
    data/stet.png
    DESTINATION .)

# Plugins are loaded by name at run time, so no import names them: the platform
# integration, the JPEG reader for the picture and the native style.
set(VELMIRA_QT_PLUGINS
    platforms/qwindows.dll
    imageformats/qjpeg.dll
    styles/qwindowsvistastyle.dll)
set(plugin_files "")
foreach(plugin IN LISTS VELMIRA_QT_PLUGINS)
    set(file "${VELMIRA_QT_PREFIX}/plugins/${plugin}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "Qt has no plugin ${plugin} (looked for ${file})")
    endif()
    get_filename_component(dir "${plugin}" DIRECTORY)
    install(FILES "${file}" DESTINATION "${dir}")
    list(APPEND plugin_files "${file}")
endforeach()

# The DLLs follow the imports of the programs and the plugins.
if(MINGW)
    set(VELMIRA_PLUGIN_FILES "${plugin_files}")
    configure_file(cmake/WindowsRuntime.cmake.in WindowsRuntime.cmake @ONLY)
    install(SCRIPT "${PROJECT_BINARY_DIR}/WindowsRuntime.cmake")
endif()
