#!/usr/bin/env bash
# Builds and runs the benchmarks: the core's walk natively; under Wine the
# picker's tick, the painting of a full-HD panel, how long the text dialog's
# memo takes to show long texts, the message log's cost to the program it
# watches and to Vexlan, and the main form's rebuild against fixture
# processes (arguments go to the rebuild's). Prints figures only.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs" --target vexlan_core_bench
build/native/vexlan_core_bench

source scripts/mingw-build.sh
mingw_build vexlan_tree_bench vexlan_picker_bench vexlan_panel_paint_bench vexlan_text_show_bench \
  vexlan_message_log_bench vexlan_fixture
source scripts/wine-session.sh
wine_session_start
(cd "$build" && wine ./vexlan_picker_bench.exe && wine ./vexlan_panel_paint_bench.exe &&
  wine ./vexlan_text_show_bench.exe && wine ./vexlan_message_log_bench.exe && wine ./vexlan_tree_bench.exe "$@")
