#!/usr/bin/env bash
# Makes every script draw in a Wine prefix ($WINEPREFIX, or Wine's default
# ~/.wine): Vexlan's forms name "MS Sans Serif", which Wine would take from
# its own bitmap font (no glyphs beyond Latin, no fallback). The name and the
# dialog faces are substituted by DejaVu Sans Condensed (the same 6x13
# dialog units), which font linking extends with WenQuanYi Micro Hei for
# Chinese and Japanese; edit controls draw through Uniscribe, which falls back
# by script instead. Only Marlett, which draws the caption buttons, is taken
# from Wine's own fonts: a face that exists is never substituted.
#
#   bash scripts/wine-fonts.sh            apply it
#   bash scripts/wine-fonts.sh --check    exit 0 when it is applied, 1 when not
set -euo pipefail
prefix="${WINEPREFIX:-$HOME/.wine}"

if [ "${1:-}" = "--check" ]; then
  WINEPREFIX="$prefix" wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Sans Serif' 2>/dev/null | grep -q 'DejaVu Sans Condensed'
  exit
fi

mkdir -p "$prefix/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts"/ 2>/dev/null || true
reg=$(mktemp /tmp/vexlan-fonts.XXXXXX.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
  for face in "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif"; do
    printf '"%s"="DejaVu Sans Condensed"\n' "$face"
  done
  printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
  link=$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
  for face in "DejaVu Sans Condensed" "DejaVu Sans"; do
    printf '"%s"=hex(7):%s,00,00\n' "$face" "$link"
  done
  # Uniscribe's fallback faces by script tag: Han, kana, Hangul, Bopomofo.
  printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Uniscribe\\Fallback]\n'
  for tag in 696e6168 616e616b 676e6168 6f706f62; do
    printf '"%s"="WenQuanYi Micro Hei"\n' "$tag"
  done
} >"$reg"
WINEPREFIX="$prefix" wine regedit /S "$reg" >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
echo "wine-fonts: every script draws in $prefix"
