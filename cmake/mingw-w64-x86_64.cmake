# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Windows test programs run under Wine; ctest prefixes them with this.
find_program(VEXLAN_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXLAN_WINE})
