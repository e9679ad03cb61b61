# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix thread model).
# These machines cannot run 32-bit programs, so no emulator is set: the x86
# build is built and its files checked, never run here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
