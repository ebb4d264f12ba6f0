# Cross-compiling the Windows program on Linux with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The posix flavour of the compiler provides std::thread and friends; everything is linked statically, so
# splitter.exe needs no DLL of the compiler's beside it. Programs built here run through wine64 where
# CMake runs them (tests).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SPLITTER_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Prefix of the MinGW-w64 tools")
set(CMAKE_C_COMPILER ${SPLITTER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPLITTER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SPLITTER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SPLITTER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(SPLITTER_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(SPLITTER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SPLITTER_WINE})
endif()
