# Cross-compiles for 64-bit Windows with Debian's mingw-w64 and runs the
# results under wine:
#   cmake -S . -B build/windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Debian packages: g++-mingw-w64-x86-64-posix, mingw-w64-tools, wine, wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUOLIX_MINGW_TRIPLET x86_64-w64-mingw32)

# The -posix compilers: the -win32 thread model of GCC 12 has no std::mutex,
# std::thread or std::condition_variable.
set(CMAKE_C_COMPILER ${QUOLIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUOLIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUOLIX_MINGW_TRIPLET}-windres)

# Link libgcc, libstdc++ and winpthread into every executable, so that an
# .exe runs on a machine (or a wine prefix) without the mingw runtime DLLs
# next to it; only DLLs of Windows itself stay dynamic.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Headers, libraries and CMake packages come from the mingw sysroot only, so
# that a Linux library (GTest, Qt, benchmark) is never picked up by mistake;
# programs (the build tools) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUOLIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and gtest_discover_tests run the .exe files through wine. On Debian
# 12, `wine` is the launcher that picks /usr/lib/wine/wine64 when the 32-bit
# wine is absent; `wine64` on the PATH is what other distributions call it.
find_program(QUOLIX_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QUOLIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUOLIX_WINE})
else()
    message(WARNING "wine not found: Windows programs are built but cannot be run or tested here")
endif()
