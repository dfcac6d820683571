# Cross-compiling for 64-bit Windows with Debian's mingw-w64.
#
# The -posix compilers are the ones with std::thread/std::mutex (GoogleTest
# needs them); the plain x86_64-w64-mingw32-g++ is the win32 thread model.
# 32-bit Windows programs cannot run on the build machines, so x86_64 only.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Headers and libraries come from the mingw sysroot only; programs (ccache,
# windres's helpers) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest (and GoogleTest's test discovery) start the .exe files through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
