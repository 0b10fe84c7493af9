# Sourced by sanitize.sh, fuzz.sh and test.sh: the four build folders, how
# each is configured and built, and how its tests run. Not a command itself.
#
#   build       plain RelWithDebInfo build with the benchmarks (what run.sh opens)
#   build-asan  every test, AddressSanitizer + UndefinedBehaviorSanitizer
#   build-tsan  the tests that run threads, ThreadSanitizer
#   build-fuzz  the libFuzzer harnesses, clang, AddressSanitizer + UBSan
#
# The compiler cache, the linker and unity batches are chosen in
# cmake/TrelvanBuildSpeed.cmake, the same for every folder.

trelvan_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
supp="$trelvan_root/tests/sanitizers"
jobs="$(nproc 2>/dev/null || echo 2)"

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1"

# The compiler cache is ccache's own default folder (~/.cache/ccache, which
# outlives the clone) unless CCACHE_DIR names another.

# configure_build NAME: configures and builds one folder (its targets only).
configure_build() {
  local name="$1" dir config=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo) targets=() cc=()
  case "$name" in
    plain) dir=build ;;
    asan)  dir=build-asan; config+=(-DTRELVAN_BENCH=OFF -DTRELVAN_SANITIZE=address,undefined) ;;
    tsan)  dir=build-tsan; config+=(-DTRELVAN_BENCH=OFF -DTRELVAN_SANITIZE=thread)
           targets=(--target test_sim test_files test_app) ;;
    fuzz)  dir=build-fuzz; config+=(-DTRELVAN_BENCH=OFF -DTRELVAN_TESTS=OFF -DTRELVAN_FUZZ=ON
                                    -DTRELVAN_SANITIZE=address,undefined)
           targets=(--target fuzzers); cc=(CC=clang CXX=clang++) ;;
    *) echo "configure_build: no build '$name'" >&2; return 2 ;;
  esac
  env "${cc[@]}" cmake -S "$trelvan_root" -B "$trelvan_root/$dir" "${config[@]}" >/dev/null &&
    cmake --build "$trelvan_root/$dir" "${targets[@]}"
}

# run_tests NAME: runs the CTest suites of one folder, several at a time.
run_tests() {
  case "$1" in
    plain) ctest --test-dir "$trelvan_root/build" --output-on-failure -j"$jobs" --timeout 600 ;;
    asan)  ctest --test-dir "$trelvan_root/build-asan" --output-on-failure -j"$jobs" --timeout 600 ;;
    tsan)  ctest --test-dir "$trelvan_root/build-tsan" --output-on-failure -j"$jobs" --timeout 600 \
             -L '^test_(sim|files|app)$' ;;
    *) echo "run_tests: no tests for '$1'" >&2; return 2 ;;
  esac
}

# run_fuzzers: each harness for a bounded number of inputs from its seed
# corpus, as many at once as there are cores. New inputs go to a scratch
# folder, never into the tree; a failing input is kept in
# build-fuzz/artifacts/. Every harness runs even when one fails.
run_fuzzers() {
  local scratch status=0 name count maxlen entry pids=() names=()
  mkdir -p "$trelvan_root/build-fuzz/artifacts"
  scratch="$(mktemp -d)"
  # name, runs, longest input
  local runs=(
    "sample_load 10000 4200"
    "version_texts 50000 64"
    "int_parse 30000 32"
    "channel_factor 50000 64"
    "go_input 100000 32"
    "fixed_format 30000 256"
  )
  for entry in "${runs[@]}"; do
    read -r name count maxlen <<<"$entry"
    mkdir -p "$scratch/$name"
    (cd "$trelvan_root" && ASAN_OPTIONS="detect_leaks=1" build-fuzz/fuzz/fuzz_"$name" -runs="$count" -max_len="$maxlen" -timeout=20 \
        -artifact_prefix="build-fuzz/artifacts/$name-" \
        "$scratch/$name" "fuzz/corpus/$name" >"$scratch/$name.log" 2>&1) &
    pids+=($!); names+=("$name:$count")
    if [ "${#pids[@]}" -ge "$jobs" ]; then
      fuzz_report "${pids[0]}" "${names[0]}" || status=1
      pids=("${pids[@]:1}"); names=("${names[@]:1}")
    fi
  done
  while [ "${#pids[@]}" -gt 0 ]; do
    fuzz_report "${pids[0]}" "${names[0]}" || status=1
    pids=("${pids[@]:1}"); names=("${names[@]:1}")
  done
  rm -rf "$scratch"
  return "$status"
}

# fuzz_report PID NAME:COUNT: waits for one harness and prints its result
# (all of its output when it failed). Uses run_fuzzers' $scratch.
fuzz_report() {
  local pid="$1" name="${2%%:*}" count="${2##*:}"
  echo "== fuzz_$name: $count inputs"
  if ! wait "$pid"; then
    cat "$scratch/$name.log" >&2
    echo "fuzz_$name failed" >&2
    return 1
  fi
  grep -E '^Done|^#[0-9]+ *DONE' "$scratch/$name.log" || tail -n 1 "$scratch/$name.log"
}
