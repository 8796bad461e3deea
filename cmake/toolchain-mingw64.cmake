# Cross build for 64-bit Windows with Debian's MinGW-w64: the same sources as the 32-bit
# build, for Windows without a 32-bit subsystem and for machines that run only 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZU_MINGW_PREFIX x86_64-w64-mingw32)
set(ZU_WINDOWS_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
