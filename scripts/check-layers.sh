#!/usr/bin/env bash
# Checks the directions the code's folders include each other in: every
# #include "..." of a source file must name a folder that its own folder's
# row below allows, and a portable folder includes no Windows header. Each
# offending include is named as path:line and the script exits 1.
#
#   bash scripts/check-layers.sh [ROOT]     (ROOT: the repository by default)
#
# docs/architecture.md draws the same table.
set -euo pipefail
set -f  # the table's patterns are words, never file names

# One row per folder: whether it is portable, and the folders it may include
# from: "dir/" that folder's own files, "dir/**" with everything beneath it,
# "**" anything. A file belongs to the row of its folder, or else of the
# nearest folder above it that has one; a file under none is an error.
layers='
platform/                | portable | platform/
platform/toolkit/        | portable | platform/ platform/toolkit/
platform/toolkit/win32/  | win32    | platform/ platform/toolkit/ platform/toolkit/win32/
platform/win32/          | win32    | platform/ platform/toolkit/** platform/win32/
winutil/                 | portable | platform/ platform/toolkit/ winutil/
winutil/win32/           | win32    | platform/** winutil/**
components/              | portable | platform/ platform/toolkit/ components/
components/win32/        | win32    | platform/** components/**
msglog/                  | portable | platform/ platform/toolkit/ msglog/
msglog/win32/            | win32    | platform/** msglog/**
hook/                    | win32    | hook/ msglog/message_ring.h
forms/core/              | portable | platform/ platform/toolkit/ winutil/ components/ forms/core/
forms/                   | win32    | platform/** winutil/** components/** msglog/** forms/**
app/                     | win32    | platform/** winutil/** components/** msglog/** forms/** app/**
tools/                   | win32    | platform/** winutil/** components/** forms/** tools/**
tests/support/           | portable | platform/ platform/toolkit/ winutil/ components/ msglog/ forms/core/ tests/support/
tests/unit/              | portable | platform/ platform/toolkit/ winutil/ components/ msglog/ forms/core/ tests/support/ tests/unit/
fuzz/                    | portable | platform/ platform/toolkit/ winutil/ components/ msglog/ forms/core/ tests/support/ fuzz/
bench/                   | portable | platform/ platform/toolkit/ winutil/ components/ msglog/ forms/core/ tests/support/ bench/
tests/win32/             | win32    | **
bench/win32/             | win32    | **
'
# The folders searched for source files.
tops='platform winutil components msglog hook forms app tools tests fuzz bench'
# Windows' headers (by name, any case), which portable folders never include.
windows_headers='^(win[a-z0-9_]*|[a-z0-9_]*api|commctrl|commdlg|shlobj|objbase|ole2|oleauto|unknwn|uxtheme|tlhelp32|richedit|shcore|wtypes|windef|minwindef|ntdef|ntstatus|dbghelp|versionhelpers|tchar|mmsystem|imm|d2d1|dwrite|wincodec|gdiplus|dxgi|d3d[0-9a-z_]*)\.h$'

root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"

declare -A portable may
while IFS='|' read -r folder kind allowed; do
  folder=$(echo $folder)
  [ -n "$folder" ] || continue
  portable[$folder]=$([ "$(echo $kind)" = portable ] && echo 1 || echo 0)
  may[$folder]=$(echo $allowed)
done <<<"$layers"

# The row a file belongs to, or nothing.
row_of() {
  local dir=${1%/*}/
  while [ -n "$dir" ]; do
    if [ -n "${may[$dir]+set}" ]; then
      echo "$dir"
      return
    fi
    dir=${dir%/}
    [[ $dir == */* ]] && dir=${dir%/*}/ || dir=
  done
}

# Whether the row's list allows including `target` (a path from the root).
permits() {
  local list=$1 target=$2 entry
  for entry in $list; do
    case $entry in
      '**') return 0 ;;
      *'/**') [[ $target == "${entry%'**'}"* ]] && return 0 ;;
      *) [[ $target == "$entry"* && ${target#"$entry"} != */* ]] && return 0 ;;
    esac
  done
  return 1
}

faults=0
fault() {
  echo "$1" >&2
  faults=$((faults + 1))
}

# shellcheck disable=SC2086
while IFS= read -r file; do
  file=${file#./}
  row=$(row_of "$file")
  if [ -z "$row" ]; then
    fault "$file: is in no folder of the layer table (scripts/check-layers.sh)"
    continue
  fi
  while IFS=: read -r line text; do
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      target=${BASH_REMATCH[1]}
      if [ ! -e "$target" ] && [ -e "$(dirname "$file")/$target" ]; then
        target=$(realpath -m --relative-to=. "$(dirname "$file")/$target")
      fi
      permits "${may[$row]}" "$target" ||
        fault "$file:$line: includes \"$target\", which $row may not include"
    elif [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      header=${BASH_REMATCH[1]}
      name=${header##*/}
      if [ "${portable[$row]}" = 1 ] && [[ ${name,,} =~ $windows_headers ]]; then
        fault "$file:$line: includes <$header>, which $row may not include (portable: no Windows header)"
      fi
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find $tops -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | LC_ALL=C sort)

if [ "$faults" -gt 0 ]; then
  echo "check-layers: $faults fault(s) against the layer table" >&2
  exit 1
fi
echo "check-layers: every include follows the layer table"
