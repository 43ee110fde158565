# Cross-compiles for 64-bit Windows on Debian with MinGW-w64 (package g++-mingw-w64-x86-64-posix), and
# runs what it builds under Wine (package wine64). Use with -DCMAKE_TOOLCHAIN_FILE=this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(vorn_mingw x86_64-w64-mingw32)
# The posix flavour: its libstdc++ has std::thread and std::mutex, which the win32 flavour lacks.
set(CMAKE_C_COMPILER ${vorn_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${vorn_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${vorn_mingw}-windres)

# Libraries and headers come from the MinGW tree only, never from Linux; tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${vorn_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in, so that a program runs without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CTest and CMake start the programs they built through Wine. Debian keeps wine64 out of PATH.
find_program(VORN_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(VORN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VORN_WINE})
endif()
