#!/usr/bin/env bash
# Builds Vexlan for Windows and runs it under Wine.
#
# With a display ($DISPLAY set) the program runs there, in your own Wine
# prefix ($WINEPREFIX, or Wine's default ~/.wine), so it lists the Wine
# programs you have open in that prefix, until its main window is closed.
# Without a display it runs on a private X display in a fresh prefix just
# long enough to save a screenshot of its main window, whose path it prints.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
source scripts/mingw-build.sh
mingw_build vexlan
exe="$(cd "$build" && pwd)/vexlan.exe"

source scripts/wine-session.sh

if [ -n "${DISPLAY:-}" ]; then
  export WINEDEBUG=-all
  if ! bash scripts/wine-fonts.sh --check; then
    echo "run: Chinese and Japanese captions may draw as boxes in ${WINEPREFIX:-$HOME/.wine};" \
      "to draw every script there, run: bash scripts/wine-fonts.sh" >&2
  fi
  exec wine "$exe"
fi

wine_session_start
shot_dir="$root/screenshots"
shot="$shot_dir/vexlan-main.png"
mkdir -p "$shot_dir"

wine "$exe" </dev/null >/dev/null 2>&1 &
program=$!

# The main window's X window carries its caption; wait for it to appear.
window=
for _ in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --name '^Vexlan v1\.02$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || { echo "run: vexlan.exe ended before showing its window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "run: the main window did not appear" >&2; exit 1; }
# Let the first paint finish.
sleep 2

# Wine draws the frame itself (no window manager), so the X window is the
# whole window, frame included.
eval "$(xdotool getwindowgeometry --shell "$window")"
full="$WINE_SESSION_DIR/screen.png"
import -window root "$full"
convert "$full" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"

kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "Screenshot of the main window: $shot"
