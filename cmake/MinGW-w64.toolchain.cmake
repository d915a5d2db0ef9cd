# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which libstdc++'s std::thread needs). Qt comes from CMAKE_PREFIX_PATH,
# the prefix that scripts/build-qt-mingw.sh prints.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMIRA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMIRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMIRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMIRA_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${VELMIRA_MINGW_TRIPLET}-objdump CACHE FILEPATH "objdump for PE files")

# Libraries and headers only from the cross sysroot and the given prefixes;
# programs (moc, uic, rcc) from this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMIRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

