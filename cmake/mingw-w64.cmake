# The MinGW-w64 cross toolchain both Windows builds share: the toolchain file of each
# sets CMAKE_SYSTEM_PROCESSOR and TOOLCHAIN_PREFIX, then includes this.
set(CMAKE_SYSTEM_NAME Windows)
# The win32 thread model: the C++ runtime's guards and locks on Win32 itself, without
# winpthreads (about 27 KB of each exe). It has no std::thread, which no program uses.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the executables run in a bare Wine prefix with no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
