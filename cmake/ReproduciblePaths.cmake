# Neither the build folder nor the source folder belongs in what is built, so
# that two build folders give the same binary (the Windows programs too; the
# Debian package's flags from dpkg-buildflags map the source folder as well).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                        "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
endif()
