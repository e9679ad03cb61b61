# Sourced by the scripts that run Windows programs under Wine, from the
# repository's root:
#   mingw_build TARGET...
# builds the targets for 64-bit Windows with MinGW-w64 into $build, which it
# sets: $VEXLAN_BUILD_DIR (a developer's own build), or build/mingw.
mingw_build() {
  build="${VEXLAN_BUILD_DIR:-build/mingw}"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "$@"
}
