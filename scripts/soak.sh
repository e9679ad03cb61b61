#!/usr/bin/env bash
# A long run of vexlan.exe under Wine, driven from outside as a user would,
# against a program whose windows come, go and change captions:
#   bash scripts/soak.sh [ROUNDS]     (200 rounds by default; the test command
#                                      runs 3)
# Each round rebuilds the tree, runs the picker for 50 ticks, freezes it with
# Ctrl+Q and shows its window, runs the lookups and the text dialog (see
# tests/win32/soak/soak_driver.cpp). Its last line gives the figures read
# from outside at the start and at the end; it exits non-zero when Vexlan
# died or hung, a check failed, or a count grew by more than 5% (private
# memory: 10%).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-200}"
case "$rounds" in
  '' | *[!0-9]* | 0) echo "usage: bash scripts/soak.sh [ROUNDS]   (ROUNDS > 0)" >&2; exit 2 ;;
esac

bash scripts/setup.sh
source scripts/mingw-build.sh
mingw_build vexlan vexlan_fixture vexlan_soak

unset DISPLAY
source scripts/wine-session.sh
wine_session_start
soak_prepare
# The first program to open a window starts Wine's desktop process, which
# keeps that program's output open; let a throw-away fixture be that program.
wine "$build/vexlan_fixture.exe" 'top|warm|VexlanWarmUp|warm-up' </dev/null >/dev/null 2>&1 || true

status=0
(cd "$build" && wine ./vexlan_soak.exe "$rounds" </dev/null) || status=$?
exit "$status"
