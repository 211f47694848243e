# Cross toolchain: Linux host, 32-bit Windows target, MinGW-w64 (Debian g++-mingw-w64-i686).
# This is the build that ships: one exe for Windows XP SP3 and every later Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
