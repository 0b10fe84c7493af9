#!/usr/bin/env bash
# Builds the benchmarks, runs every one of them a few times (Google
# Benchmark's repetitions, medians kept) and prints one Markdown table:
# measure | Trelvan | baseline | ratio | goal. The rows come from
# bench/table_rows.txt (a new benchmark adds its rows there); the raw results
# stay in <build>/bench-results/.
#
#   bash scripts/bench.sh            # 3 repetitions
#   BENCH_REPETITIONS=5 bash scripts/bench.sh
#   BENCH_ONLY="bench_store bench_wave" bash scripts/bench.sh   # some programs only
#   BENCH_TABLE_ONLY=1 bash scripts/bench.sh    # the table again from the last results
#
# Files are written to TRELVAN_BENCH_DIR (default: <build>/bench-files, on the
# disk of the build, so that a flush means the disk) and removed afterwards.
# bench_startup runs under its own Xvfb server. Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
reps="${BENCH_REPETITIONS:-3}"
build="${BENCH_BUILD_DIR:-build}"
out="$build/bench-results"
export TRELVAN_BENCH_DIR="${TRELVAN_BENCH_DIR:-$root/$build/bench-files}"

if [ "${BENCH_TABLE_ONLY:-0}" != 1 ]; then
  bash scripts/setup.sh >&2
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVAN_BENCH=ON >/dev/null

  # Every bench/bench_*.cpp is one program; build those CMake made targets of.
  targets="$(cmake --build "$build" --target help 2>/dev/null || true)"
  programs=()
  for src in bench/bench_*.cpp; do
    name="$(basename "$src" .cpp)"
    if [ -n "${BENCH_ONLY:-}" ] && [[ " $BENCH_ONLY " != *" $name "* ]]; then continue; fi
    if grep -q "^$name:" <<<"$targets"; then programs+=("$name"); else echo "bench: $name is not built here" >&2; fi
  done
  cmake --build "$build" --target "${programs[@]}" >&2

  mkdir -p "$out" "$TRELVAN_BENCH_DIR"
  load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
  for name in "${programs[@]}"; do
    runner=()
    if [ "$name" = bench_startup ]; then runner=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"); fi
    # 200,000 painted window ticks take a quarter of an hour: one run.
    runs="$reps"
    if [ "$name" = bench_ticks ]; then runs=1; fi
    echo "bench: running $name ($runs repetitions)" >&2
    rm -f "$out/$name.json"
    if ! "${runner[@]}" "$build/bench/$name" --benchmark_repetitions="$runs" \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/$name.json" --benchmark_out_format=json >"$out/$name.log" 2>&1; then
      echo "bench: $name failed, see $out/$name.log" >&2
    fi
  done
  load_after="$(cut -d' ' -f1-3 /proc/loadavg)"
  rm -rf "$TRELVAN_BENCH_DIR"
  echo "Benchmarks of $(git rev-parse --short HEAD 2>/dev/null || echo "this tree") on" \
       "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//') ($(nproc) cores)," \
       "$(date -u '+%Y-%m-%d %H:%M UTC'); medians of $reps repetitions;" \
       "load average $load_before before, $load_after after." >"$out/run.txt"
fi

# The value of one reference: "<program>:<benchmark>[@<counter>]" (median),
# "<number> ms", or "-". Prints "<value> <unit>" (unit ms, MB or 1), or nothing.
value_of() {
  local ref="$1"
  case "$ref" in
    -) return ;;
    *" ms") echo "${ref% ms} ms"; return ;;
  esac
  local program="${ref%%:*}" rest="${ref#*:}" counter=""
  if [[ "$rest" == *@* ]]; then counter="${rest#*@}"; rest="${rest%@*}"; fi
  local file="$out/$program.json"
  [ -s "$file" ] || return 0
  local v
  v="$(jq -r --arg key "$rest" --arg counter "$counter" '
    def norm: split("/") | map(select(test("^(real_time|manual_time|iterations:[0-9]+|repeats:[0-9]+)$") | not)) | join("/");
    [.benchmarks[] | select(((.run_name // .name) | norm) == $key) | select(.error_occurred != true)]
    | (map(select(.aggregate_name == "median")) + map(select(.run_type != "aggregate"))) | first
    | if . == null then empty
      elif $counter == "" then .real_time * ({"ns": 1e-6, "us": 1e-3, "ms": 1, "s": 1000}[.time_unit])
      else (.[$counter] // empty) end' "$file")"
  [ -n "$v" ] || return 0
  # A counter's unit is a word of its name: ms, us (shown as time) or MB.
  case "_${counter}_" in
    __ | *_ms_*) echo "$v ms" ;;
    *_us_*) echo "$(awk -v v="$v" 'BEGIN { printf "%.9g", v / 1000 }') ms" ;;
    *_MB_*) echo "$v MB" ;;
    *) echo "$v 1" ;;
  esac
}

show() {  # "<value> <unit>" -> text with three significant digits
  awk -v v="$1" -v u="$2" 'BEGIN {
    if (u == "MB") { printf "%.3g MB", v; exit }
    if (u != "ms") { printf "%g", v; exit }
    unit = "ms"
    if (v < 0.001) { v *= 1e6; unit = "ns" } else if (v < 1) { v *= 1000; unit = "µs" }
    if (v >= 100) printf "%.0f %s", v, unit; else if (v >= 10) printf "%.1f %s", v, unit;
    else printf "%.2f %s", v, unit }'
}

{
  cat "$out/run.txt" 2>/dev/null || true
  echo
  echo "| measure | Trelvan | baseline | ratio | goal |"
  echo "|---|---|---|---|---|"
  while IFS='|' read -r measure ours theirs goal; do
    trim() { sed 's/^ *//; s/ *$//' <<<"$1"; }
    measure="$(trim "$measure")"; ours="$(trim "$ours")"; theirs="$(trim "$theirs")"; goal="$(trim "$goal")"
    a="$(value_of "$ours")"; b="$(value_of "$theirs")"
    a_text="n/a"; b_text="-"; ratio=""
    [ -n "$a" ] && a_text="$(show $a)"
    if [ "$theirs" != "-" ]; then
      b_text="n/a"
      [ -n "$b" ] && b_text="$(show $b)"
      if [ -n "$a" ] && [ -n "$b" ]; then
        ratio="$(awk -v x="${a% *}" -v y="${b% *}" 'BEGIN {
          if (y > 0) { r = x / y; if (r >= 0.1) printf "%.2fx", r; else printf "%.2gx", r } }')"
      fi
    fi
    echo "| $measure | $a_text | $b_text | $ratio | $goal |"
  done < <(grep -v '^[[:space:]]*#' bench/table_rows.txt | grep -v '^[[:space:]]*$')
} | tee "$out/table.md"
