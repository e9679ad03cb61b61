#!/usr/bin/env bash
# Photographs Vexlan's forms for the README: builds vexlan_shots.exe, runs it
# on a private X display in a fresh Wine prefix, and saves each scene it
# shows as docs/screenshots/NAME.png. With VEXLAN_WINE_DPI=144 the prefix
# has that DPI and the pictures are NAME-144.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
source scripts/mingw-build.sh
mingw_build vexlan_shots vexlan_fixture

unset DISPLAY
source scripts/wine-session.sh
wine_session_start
out="$root/docs/screenshots"
mkdir -p "$out"

coproc SHOTS { cd "$build" && exec wine ./vexlan_shots.exe 2>&1; }
shots_pid=$SHOTS_PID
while IFS= read -r line <&"${SHOTS[0]}"; do
  line=${line%$'\r'}
  case "$line" in
    scene\ *)
      read -r _ name x y w h <<<"$line"
      import -window root "$WINE_SESSION_DIR/screen.png"
      file="$out/$name${VEXLAN_WINE_DPI:+-$VEXLAN_WINE_DPI}.png"
      convert "$WINE_SESSION_DIR/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$file"
      echo "screenshots: $file"
      echo >&"${SHOTS[1]}"
      ;;
    *) echo "vexlan_shots: $line" ;;
  esac
done
wait "$shots_pid" 2>/dev/null || true
