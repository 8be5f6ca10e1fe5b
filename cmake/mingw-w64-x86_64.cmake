# Cross-builds the Windows programs (Tessmark.exe) on Linux with Debian's mingw-w64
# (package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DTESSMARK_BUILD_TESTS=OFF -DTESSMARK_BUILD_WIZARD=OFF
# The executable is linked statically (libgcc, libstdc++, winpthread), so it needs nothing on the
# Windows machine beyond the system's own DLLs (kernel32, advapi32, msvcrt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSMARK_MINGW_PREFIX x86_64-w64-mingw32)
# The -posix flavour: its libstdc++ has std::thread and friends; the -win32 flavour lacks them.
set(CMAKE_C_COMPILER ${TESSMARK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSMARK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSMARK_MINGW_PREFIX}-windres)

# Headers and libraries come from the mingw-w64 sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSMARK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
