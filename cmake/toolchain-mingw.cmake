# What the two Windows cross builds share, with Debian's MinGW-w64 (posix thread model).
# Included by toolchain-mingw32.cmake (i686) and toolchain-mingw64.cmake (x86_64), which set
# CMAKE_SYSTEM_PROCESSOR and ZU_MINGW_PREFIX first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZU_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZU_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZU_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows test programs run under Wine through this wrapper, in the prefix of their
# architecture (ZU_WINE_ARCH, read by tests/support/wine_env.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR
    env ZU_WINE_ARCH=${ZU_WINDOWS_ARCH} ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine_run.sh)
