# Cross build for 64-bit Windows with clang, against Debian's MinGW-w64
# headers, libstdc++ and runtime, linked by lld (GNU ld cannot link clang's
# objects here). It keeps the code free of what only g++ accepts.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER  ${triple}-windres)
set(CMAKE_SYSROOT /usr/${triple})

# MinGW-w64's g++ (posix threads) provides the C++ library and libgcc.
file(GLOB gcc_dirs /usr/lib/gcc/${triple}/*-posix)
list(SORT gcc_dirs)
list(POP_BACK gcc_dirs gcc_dir)
if(NOT gcc_dir)
  message(FATAL_ERROR "No MinGW-w64 g++ (posix) under /usr/lib/gcc/${triple}: install g++-mingw-w64-x86-64-posix")
endif()
# -stdlib++-isystem replaces clang's own guess of the C++ headers, as
# -nostdinc++ with -isystem would, without a warning at every link.
set(cxx_headers ${gcc_dir}/include/c++)
# MinGW-w64's g++ and its libstdc++ keep thread-local variables in emulated
# TLS (std::call_once's, for one); clang must reach them the same way.
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls -stdlib++-isystem ${cxx_headers} \
-stdlib++-isystem ${cxx_headers}/${triple} -stdlib++-isystem ${cxx_headers}/backward")
# lld reserves 1 MB of stack where GNU ld reserves 2 MB; under Wine a program
# with 1 MB cannot take a million-character WM_SETTEXT from another process
# (the fixture's edit control in the text dialog's tests), so the clang build
# reserves what the g++ build does.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${gcc_dir} -lpthread -Wl,--stack,0x200000")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${gcc_dir} -lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(VEXLAN_WINE wine)
if(VEXLAN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXLAN_WINE})
endif()
