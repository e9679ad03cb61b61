#!/usr/bin/env bash
# Paints the panel gallery: every border style with every bevel style, and
# the four wallpaper styles, each a real panel painted by panel_render.exe
# under Wine, assembled into one picture. Usage: scripts/gallery.sh [OUT.png]
# (default docs/panel-gallery.png). The pictures are shown twice their size,
# in the classic 3-D colours.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out="$root/${1:-docs/panel-gallery.png}"

bash scripts/setup.sh
source scripts/mingw-build.sh
mingw_build panel_render
render_exe="$(cd "$build" && pwd)/panel_render.exe"

source scripts/wine-session.sh
wine_session_start
work="$WINE_SESSION_DIR/gallery"
mkdir -p "$work"
# The classic 3-D colours, darker than Wine's own, so that every ring shows.
for colour in 'ButtonFace 212 208 200' 'ButtonLight 212 208 200' 'ButtonShadow 128 128 128' \
  'ButtonHilight 255 255 255' 'ButtonDkShadow 64 64 64'; do
  wine reg add 'HKCU\Control Panel\Colors' /v "${colour%% *}" /t REG_SZ /d "${colour#* }" /f >/dev/null 2>&1
done

# A small picture whose placement shows: a disc on blue, a red top-left corner.
convert -size 24x16 xc:'#2f5f8f' -fill '#f2c14e' -draw 'circle 12,8 12,3' \
  -fill '#c0392b' -draw 'rectangle 0,0 3,3' -type TrueColor "BMP3:$work/tile.bmp"

# render NAME Name=Value...: paints one panel into NAME.png, twice its size.
render() {
  local name=$1
  shift
  wine "$render_exe" "$work/$name.bmp" "$@" </dev/null
  convert "$work/$name.bmp" -filter point -resize 200% "$work/$name.png"
}

labelled=()
for border in bsNone bsLowered bsRaised bsRound bsFlat; do
  for bevel in bvNone bvLowered bvRaised bvGroove bvBump bvFlatHiLight bvFlatShadow bvFlatDkShadow; do
    render "$border-$bevel" Width=72 Height=40 Border.Style="$border" BevelOuter.Style="$bevel" BevelOuter.Depth=2
    labelled+=(-label "$border $bevel" "$work/$border-$bevel.png")
  done
done
montage "${labelled[@]}" -tile 8x -geometry +6+6 -font DejaVu-Sans -pointsize 11 -background white \
  "$work/frames.png"

labelled=()
for style in wpNone wpCenter wpStretch wpTile; do
  render "$style" Width=120 Height=64 Color='$00D8C8A8' Border.Style=bsLowered BevelOuter.Style=bvNone \
    Wallpaper.Style="$style" Wallpaper.Bitmap="$work/tile.bmp"
  labelled+=(-label "$style, 24 x 16 picture" "$work/$style.png")
done
montage "${labelled[@]}" -tile 4x -geometry +6+6 -font DejaVu-Sans -pointsize 11 -background white \
  "$work/wallpapers.png"

mkdir -p "$(dirname "$out")"
convert -background white -font DejaVu-Sans -pointsize 13 \
  label:'Border.Style (rows) with BevelOuter.Style (columns), BevelOuter.Depth=2' "$work/frames.png" \
  label:'Wallpaper.Style, with a lowered border and Color=$00D8C8A8 behind the picture' "$work/wallpapers.png" \
  -gravity west -append "$out"
echo "Gallery: $out"
