#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# sanitizer builds and the fuzzers, then the plain build, whose CTest summary
# is the last thing printed.
#
#   bash scripts/test.sh           # everything (what CI runs)
#   bash scripts/test.sh --quick   # the plain build and its tests only
#
# Stages, one after the other in the foreground, while the next build runs
# beside them in the background at the lowest priority (so a test never waits
# for the compiler; the build only takes what the tests leave idle):
#
#   AddressSanitizer build
#   AddressSanitizer tests   | ThreadSanitizer build
#   ThreadSanitizer tests    | fuzzer build
#   fuzzers                  | plain build
#   plain tests
#
# Every stage runs even when an earlier one failed, so one run shows every
# failure; a background build's output is printed when its tests start. The
# exit status is non-zero when any stage failed. At the end: how long each
# stage took, then the plain tests' summary again.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=full
case "${1:-}" in
  "") ;;
  --quick) mode=quick ;;
  *) echo "usage: bash scripts/test.sh [--quick]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
source scripts/builds.sh

if [ "$mode" = quick ]; then
  configure_build plain
  run_tests plain
  exit
fi

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
failed=0
started=$(date +%s)
table=()

# record NAME SECONDS RESULT
record() { table+=("$(printf '%-34s %6ss  %s' "$1" "$2" "$3")"); }

# stage NAME COMMAND...: runs COMMAND in the foreground.
stage() {
  local name="$1" start result=ok
  shift
  start=$(date +%s)
  "$@" || result=FAILED
  [ "$result" = ok ] || failed=1
  record "$name" "$(( $(date +%s) - start ))" "$result"
  [ "$result" = ok ]
}

# background NAME COMMAND...: starts COMMAND at the lowest priority, its
# output kept for finish.
background() {
  local name="$1"
  shift
  (
    start=$(date +%s)
    renice -n 19 -p "$BASHPID" >/dev/null 2>&1 || true
    if "$@"; then result=ok; else result=FAILED; fi
    echo "$(( $(date +%s) - start )) $result" >"$logs/$name.result"
  ) >"$logs/$name.log" 2>&1 &
  echo "$!" >"$logs/$name.pid"
}

# descendants PID: the processes below PID.
descendants() {
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do echo "$child"; descendants "$child"; done
}

# finish NAME: once the tests beside it are done, gives a background stage
# the normal priority again (when allowed: root), waits for it, prints its
# output and records it.
finish() {
  local name="$1" seconds result pid
  pid="$(cat "$logs/$name.pid")"
  renice -n 0 -p "$pid" $(descendants "$pid") >/dev/null 2>&1 || true
  wait "$pid" || true
  cat "$logs/$name.log"
  read -r seconds result <"$logs/$name.result" || { seconds=0; result=FAILED; }
  [ "$result" = ok ] || failed=1
  record "$name (beside the tests)" "$seconds" "$result"
  [ "$result" = ok ]
}

# The plain tests, their output also kept for the closing lines.
plain_tests() { run_tests plain 2>&1 | tee "$logs/plain-tests.log"; }

# skipped NAME: a stage whose build failed.
skipped() {
  echo "test: $1 not run: its build failed (see above)" >&2
  record "$1" 0 "NOT RUN"
}

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
asan_built=0
stage "asan build" configure_build asan && asan_built=1

background "tsan build" configure_build tsan
echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
if [ "$asan_built" = 1 ]; then stage "asan tests" run_tests asan || true; else skipped "asan tests"; fi

echo "== ThreadSanitizer build (made beside the tests above)"
tsan_built=0
finish "tsan build" && tsan_built=1
background "fuzz build" configure_build fuzz
echo "== ThreadSanitizer: the tests that run threads"
if [ "$tsan_built" = 1 ]; then stage "tsan tests" run_tests tsan || true; else skipped "tsan tests"; fi

echo "== Fuzzer build (clang; made beside the tests above)"
fuzz_built=0
finish "fuzz build" && fuzz_built=1
background "plain build" configure_build plain
echo "== Fuzzers"
if [ "$fuzz_built" = 1 ]; then stage "fuzzers" run_fuzzers || true; else skipped "fuzzers"; fi

echo "== Plain build (made beside the fuzzers above)"
plain_built=0
finish "plain build" && plain_built=1
if [ "$failed" -ne 0 ]; then
  echo "test: a sanitizer build, a sanitizer test or a fuzzer failed (see above)" >&2
fi
echo "== Plain build: every test"
if [ "$plain_built" = 1 ]; then
  stage "plain tests" plain_tests || true
else
  skipped "plain tests"
fi

echo
echo "== Stage times (a background build ran beside the stage above it)"
printf '%s\n' "${table[@]}"
printf '%-34s %6ss\n' "all" "$(( $(date +%s) - started ))"
if [ -s "$logs/plain-tests.log" ]; then
  echo
  # CTest's closing lines, so that its summary stays the last thing printed.
  sed -n '/tests passed, .* tests failed out of/,$p' "$logs/plain-tests.log"
fi
exit "$failed"
