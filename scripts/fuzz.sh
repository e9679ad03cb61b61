#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/*_fuzz.cpp: clang, libFuzzer, AddressSanitizer
# and UBSan, in build/fuzz) and runs each for SECONDS seconds (default 10)
# from a copy of its seed corpus, fuzz/corpus/<target>/, so that runs leave
# the repository as it was. Exits non-zero when any target finds anything;
# the input that did it is kept in build/fuzz/findings/.
#   bash scripts/fuzz.sh [SECONDS]
#   FUZZ_RUNS=N bash scripts/fuzz.sh     runs each target N times instead
#   FUZZ_TARGETS="a_fuzz b_fuzz" ...     only those targets
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}

bash scripts/setup.sh
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXLAN_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target vexlan_fuzz

work=$(mktemp -d /tmp/vexlan-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
findings=build/fuzz/findings
mkdir -p "$findings"
# Cheaper allocations, many more executions: no allocation stacks in reports
# (run the target on the kept input without these to get them back).
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=16:max_malloc_fill_size=0}
if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); else limit=(-max_total_time="$seconds"); fi

targets=${FUZZ_TARGETS:-$(for f in fuzz/*_fuzz.cpp; do basename "$f" .cpp; done)}
passed=0
failed=0
for target in $targets; do
  [ -d "fuzz/corpus/$target" ] || { echo "fuzz: $target has no seed corpus in fuzz/corpus/$target" >&2; exit 2; }
  cp -r "fuzz/corpus/$target" "$work/$target"
  log="$work/$target.log"
  start=$(date +%s)
  # -timeout: an input that runs 10 s is a hang, and a finding.
  if "build/fuzz/fuzz/$target" "$work/$target" "${limit[@]}" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    status=ok
    passed=$((passed + 1))
  else
    status="FINDING (input kept in $findings/)"
    failed=$((failed + 1))
    tail -n 60 "$log" >&2
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf 'fuzz: %-24s %10s executions in %4s s  %s\n' "$target" "${executions:-0}" "$(($(date +%s) - start))" "$status"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
