#!/usr/bin/env bash
# Builds vexlan.exe for 64-bit and 32-bit Windows in release mode (a warning
# fails the build) and packs both, with a readme for users, into
# dist/vexlan-VERSION-windows.zip. Then it checks what it packed, as unpacked
# from the archive: each executable's format, manifest, version, icon and
# imports, and the archive's list; and prints each executable's size.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh

version=$(sed -n 's/^project(Vexlan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
jobs=$(nproc)
work=build/release
stage=$work/stage
rm -rf "$stage" "$work/unpacked"
mkdir -p "$stage" dist

# folder in the archive : toolchain : architecture the manifest names
builds=(x64:x86_64:amd64 x86:i686:x86)
for b in "${builds[@]}"; do
  IFS=: read -r folder toolchain _ <<<"$b"
  echo "== $folder: release build"
  cmake -S . -B "$work/$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$toolchain.cmake" >/dev/null
  cmake --build "$work/$folder" -j"$jobs" --target vexlan
  mkdir -p "$stage/$folder"
  cp "$work/$folder/vexlan.exe" "$stage/$folder/"
done
# Windows users read it in Notepad: CRLF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' app/release-readme.txt >"$stage/README.txt"

zip=dist/vexlan-$version-windows.zip
rm -f "$zip"
(cd "$stage" && zip -q -X -D "$root/$zip" x64/vexlan.exe x86/vexlan.exe README.txt)

echo "== checking $zip"
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
if [ "$listed" != "README.txt x64/vexlan.exe x86/vexlan.exe " ]; then
  echo "release: the archive holds $listed" >&2
  exit 1
fi
unzip -q "$zip" -d "$work/unpacked"
for b in "${builds[@]}"; do
  IFS=: read -r folder _ arch <<<"$b"
  # The message log's files inside: the hook DLL of the program's bitness;
  # in the 64-bit program the 32-bit DLL and the helper that sets its hooks.
  if [ "$arch" = amd64 ]; then
    carried=(--carries "201=$work/$folder/hook/vexlanhook64.dll" --carries "202=$work/$folder/hooks32/vexlanhook32.dll"
             --carries "203=$work/$folder/hooks32/vexlanhost32.exe")
    python3 tests/package/check_exe.py --arch x86 --kind dll "$work/$folder/hooks32/vexlanhook32.dll"
    python3 tests/package/check_exe.py --arch x86 --kind helper "$work/$folder/hooks32/vexlanhost32.exe"
  else
    carried=(--carries "201=$work/$folder/hook/vexlanhook32.dll" --lacks 202 --lacks 203)
  fi
  python3 tests/package/check_exe.py --arch "$arch" --version "$version" --manifest app/vexlan.manifest \
    --icon "$work/$folder/app/vexlan.ico" "${carried[@]}" "$work/unpacked/$folder/vexlan.exe"
  echo "$folder/vexlan.exe: $(stat -c %s "$work/unpacked/$folder/vexlan.exe") bytes"
done
if grep -q '@' "$work/unpacked/README.txt" || ! grep -q "^Vexlan $version " "$work/unpacked/README.txt"; then
  echo "release: README.txt does not name version $version" >&2
  exit 1
fi
echo "Release archive: $root/$zip"
