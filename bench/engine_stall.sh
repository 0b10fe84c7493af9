#!/usr/bin/env bash
# The top-rate runs of bench_engine_stall in an X server of their own, which
# the display run stops for 6 s: each scenario with the engine and with the
# window's own poll, each in a process of its own (the engine's run keeps
# Qt's dialog state for the run, process-wide); the .txt Save As runs with
# every fsync slowed to 3 s.
# Usage: bench/engine_stall.sh BUILD_DIR [REPETITIONS]
set -euo pipefail
build="$1"
reps="${2:-1}"
display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill -CONT "$xvfb" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XVFB_PID="$xvfb"
cd "$build"
run() {
  "$build/bench/bench_engine_stall" --benchmark_filter="$1" --benchmark_repetitions="$reps" \
    --benchmark_counters_tabular=true
}
for scenario in 0 1; do
  for engine in 1 0; do run "BM_TopRateWhileDisturbed/$scenario/$engine/"; done
done
for engine in 1 0; do
  LD_PRELOAD="$build/bench/libslow_sync.so" run "BM_TopRateWhileDisturbed/2/$engine/"
done
