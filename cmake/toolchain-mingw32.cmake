# Cross build for 32-bit Windows (the shipped launcher) with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZU_MINGW_PREFIX i686-w64-mingw32)
set(ZU_WINDOWS_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
