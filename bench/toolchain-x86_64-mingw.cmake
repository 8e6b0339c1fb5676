# The benchmark's 64-bit Windows build (bench/compare.sh): where this machine
# runs 32-bit programs only through an emulator, the reader and the NSIS
# installer are both measured as 64-bit programs, which Wine runs natively.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRELVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVANE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRELVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
