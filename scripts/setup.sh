#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run command need,
# only those that are missing. Safe to run again; quiet when nothing is to do.
set -euo pipefail

packages=(
  cmake make g++ ninja-build
  g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb x11-utils xdotool imagemagick
  googletest libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei fonts-wine
  g++-mingw-w64-i686-posix clang lld python3 binutils file zip unzip
  libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
