# Cross build of the 32-bit Windows console executable with Debian's MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(triple i686-w64-mingw32)
# The posix thread model, whose libstdc++ has std::mutex (GoogleTest needs it); the
# winpthread it brings is linked statically, like libgcc and libstdc++.
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows test programs under Wine.
find_program(VORMISTA_WINE wine)
if(VORMISTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORMISTA_WINE})
endif()
