#!/usr/bin/env bash
# Checks the folders' include directions, builds everything and runs every
# test: native, native under ASan+UBSan, the Windows build under Wine on a
# private X display (and its DPI tests at 144 DPI), then a short soak of
# vexlan.exe driven from outside; builds the program for 32-bit Windows and
# with clang, checks the executables, then runs every fuzz target for 10
# seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh

jobs=$(nproc)
soak_rounds=3

echo "== the folders' include directions"
bash scripts/check-layers.sh

echo "== native build and tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXLAN_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs" --target vexlan_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== the icon's and the layer check's tests"
python3 -m unittest discover -s tests/package -p '*_test.py'

# Checks a built vexlan.exe: format, manifest, version, icon, imports, and
# the message log's files it carries: its own bitness's hook DLL, and in a
# 64-bit build the 32-bit DLL and helper too, which are checked themselves.
version=$(sed -n 's/^project(Vexlan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
check_exe() {  # BUILD_DIR ARCH
  local carried=(--carries "201=$1/hook/vexlanhook32.dll" --lacks 202 --lacks 203)
  if [ "$2" = amd64 ]; then
    carried=(--carries "201=$1/hook/vexlanhook64.dll" --carries "202=$1/hooks32/vexlanhook32.dll"
             --carries "203=$1/hooks32/vexlanhost32.exe")
    python3 tests/package/check_exe.py --arch x86 --kind dll "$1/hooks32/vexlanhook32.dll" >/dev/null
    python3 tests/package/check_exe.py --arch x86 --kind helper "$1/hooks32/vexlanhost32.exe" >/dev/null
  fi
  python3 tests/package/check_exe.py --arch "$2" --version "$version" --manifest app/vexlan.manifest \
    --icon "$1/app/vexlan.ico" "${carried[@]}" "$1/vexlan.exe"
}

# The x86 and clang builds build the program only, in release mode as it is
# shipped; a warning fails them.
echo "== 32-bit Windows build (MinGW-w64 i686): the program, checked, never run here"
cmake -S . -B build/x86 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" >/dev/null
cmake --build build/x86 -j"$jobs" --target vexlan vexlan_hookhost
check_exe build/x86 x86
python3 tests/package/check_exe.py --arch x86 --kind dll build/x86/hook/vexlanhook32.dll
python3 tests/package/check_exe.py --arch x86 --kind helper build/x86/hook/vexlanhost32.exe
if check_exe build/x86 amd64 >/dev/null 2>&1; then
  echo "test: the checks took the x86 build for an x64 one" >&2
  exit 1
fi

echo "== clang build for 64-bit Windows: the programs"
cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/clang -j"$jobs" --target vexlan panel_render
check_exe build/clang amd64

echo "== Windows build (MinGW-w64) and tests under Wine"
cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/mingw -j"$jobs"
check_exe build/mingw amd64
source scripts/wine-session.sh
wine_session_start
# The first program to open a window starts Wine's desktop process, which
# keeps that program's output open; let a throw-away fixture be that program.
wine build/mingw/vexlan_fixture.exe 'top|warm|VexlanWarmUp|warm-up' </dev/null >/dev/null 2>&1 || true
# One desktop and one hot-key table: the Wine tests run one at a time.
# Now and then Wine fails to start a program at all, silently and at once
# (seen as a test "failing" in 0.01 s with no output, on a loaded machine):
# a Wine test that fails is run once more, and one that fails twice fails.
VEXLAN_TEST_DPI=96 ctest --test-dir build/mingw --output-on-failure -j1 --repeat until-pass:2

echo "== a short soak: vexlan.exe used from outside for $soak_rounds rounds (scripts/soak.sh runs long ones)"
soak_prepare
(cd build/mingw && wine ./vexlan_soak.exe "$soak_rounds" </dev/null)

echo "== the forms at 144 DPI under Wine"
wine_session_stop
VEXLAN_WINE_DPI=144 wine_session_start
wine build/mingw/vexlan_fixture.exe 'top|warm|VexlanWarmUp|warm-up' </dev/null >/dev/null 2>&1 || true
(cd build/mingw && VEXLAN_TEST_DPI=144 wine ./vexlan_win32_tests.exe --gtest_filter='Dpi*' </dev/null)

echo "== fuzz targets, 10 seconds each"
bash scripts/fuzz.sh 10
