# Toolchain for the Windows command-line program: Debian's mingw-w64 GCC with POSIX threads.
# The libraries and packages of the build come from the cross compiler's own folder and from
# ORVALEX_CROSS_PREFIX, a folder that holds only the header-only libraries the program uses (see
# scripts/build-windows.sh), never from the build machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# The C++ runtime and winpthreads go into the program file, so that it needs no DLL of its own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
if(ORVALEX_CROSS_PREFIX)
    list(APPEND CMAKE_FIND_ROOT_PATH ${ORVALEX_CROSS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
