# Debian's build flags: stack protector, fortified libc calls, full RELRO and
# immediate binding, as a Debian maintainer's build would have them. The build
# type still chooses optimisation and debug information, so an -O level and -g
# from dpkg-buildflags are left out. Sanitizer and fuzzer builds bring flags of
# their own that these would fight with (fortified calls hide overflows from
# AddressSanitizer), so they go without.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(_velmira_buildflags_default OFF)
if(DPKG_BUILDFLAGS AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
   AND NOT VELMIRA_SANITIZE AND NOT VELMIRA_FUZZ AND NOT WIN32)  # Debian binaries only
    set(_velmira_buildflags_default ON)
endif()
option(VELMIRA_DEBIAN_BUILD_FLAGS "Compile and link with the flags of dpkg-buildflags"
       ${_velmira_buildflags_default})

if(VELMIRA_DEBIAN_BUILD_FLAGS)
    if(NOT DPKG_BUILDFLAGS)
        message(FATAL_ERROR "VELMIRA_DEBIAN_BUILD_FLAGS needs dpkg-buildflags (package dpkg-dev)")
    endif()
    # Hardening "+all" adds immediate binding; a packager's own choice wins.
    set(_velmira_maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
    if(_velmira_maint_options STREQUAL "")
        set(_velmira_maint_options "hardening=+all")
    endif()
    foreach(_velmira_kind CPPFLAGS CXXFLAGS LDFLAGS)
        # Run in the source folder: its -ffile-prefix-map then names this tree.
        execute_process(
            COMMAND "${CMAKE_COMMAND}" -E env "DEB_BUILD_MAINT_OPTIONS=${_velmira_maint_options}"
                    "${DPKG_BUILDFLAGS}" --get ${_velmira_kind}
            WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
            OUTPUT_VARIABLE _velmira_flags OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(_velmira_flags UNIX_COMMAND "${_velmira_flags}")
        list(FILTER _velmira_flags EXCLUDE REGEX "^-(O.*|g.*)$")
        set(_velmira_${_velmira_kind} ${_velmira_flags})
    endforeach()
    add_compile_options(${_velmira_CPPFLAGS} ${_velmira_CXXFLAGS})
    add_link_options(${_velmira_LDFLAGS})
    # What later dpkg releases add for amd64 ("stackclash" and "branch"):
    # stack clash protection and control-flow enforcement.
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
        foreach(_velmira_flag -fstack-clash-protection -fcf-protection)
            if(NOT _velmira_flag IN_LIST _velmira_CXXFLAGS)
                add_compile_options(${_velmira_flag})
            endif()
        endforeach()
    endif()
endif()

# Neither the build folder nor the source folder belongs in what is built, so
# that two build folders give the same binary.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                        "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
endif()
