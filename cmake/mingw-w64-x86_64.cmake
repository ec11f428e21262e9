# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which
# std::thread and std::mutex need), run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(INKRELAY_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${INKRELAY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${INKRELAY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${INKRELAY_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${INKRELAY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)


find_program(INKRELAY_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(INKRELAY_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${INKRELAY_WINE64})
endif()

# Debian has no libpng built for MinGW: the PNG loader and its tests are left out.
set(INKRELAY_PNG OFF CACHE BOOL "Build the PNG loader over libpng, with its tests")
