#!/usr/bin/env bash
# Builds every test with AddressSanitizer + UndefinedBehaviorSanitizer
# (build-asan) and runs them all, then builds the tests that run threads with
# ThreadSanitizer (build-tsan: the simulated module's notification thread,
# the window's device notice, the sample-file writer threads) and runs those.
# Any report fails its test; both builds run even when the first fails. Suppressions name third-party libraries only.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/builds.sh

failed=0
echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
if configure_build asan; then run_tests asan || failed=1; else failed=1; fi

echo "== ThreadSanitizer: the tests that run threads"
if configure_build tsan; then run_tests tsan || failed=1; else failed=1; fi
exit "$failed"
