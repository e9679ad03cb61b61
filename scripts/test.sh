#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan+UBSan,
# the Windows build under Wine on a private X display, then every fuzz
# target for 10 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh

jobs=$(nproc)

echo "== native build and tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXLAN_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs" --target vexlan_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== Windows build (MinGW-w64) and tests under Wine"
cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/mingw -j"$jobs"
source scripts/wine-session.sh
wine_session_start
# The first program to open a window starts Wine's desktop process, which
# keeps that program's output open; let a throw-away fixture be that program.
wine build/mingw/vexlan_fixture.exe 'top|warm|VexlanWarmUp|warm-up' </dev/null >/dev/null 2>&1 || true
# One desktop and one hot-key table: the Wine tests run one at a time.
VEXLAN_TEST_DPI=96 ctest --test-dir build/mingw --output-on-failure -j1

echo "== the forms at 144 DPI under Wine"
wine_session_stop
VEXLAN_WINE_DPI=144 wine_session_start
wine build/mingw/vexlan_fixture.exe 'top|warm|VexlanWarmUp|warm-up' </dev/null >/dev/null 2>&1 || true
(cd build/mingw && VEXLAN_TEST_DPI=144 wine ./vexlan_win32_tests.exe --gtest_filter='Dpi*' </dev/null)

echo "== fuzz targets, 10 seconds each"
bash scripts/fuzz.sh 10
