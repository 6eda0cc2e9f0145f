# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686,
# binutils-mingw-w64-i686). The win32 thread model: the program starts no threads, and it
# keeps the static runtime small.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZARVEN_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ZARVEN_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ZARVEN_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${ZARVEN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZARVEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)  # build tools run on the build machine
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the C and C++ runtimes linked in, unused sections dropped.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
