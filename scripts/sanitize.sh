#!/usr/bin/env bash
# Builds every test with AddressSanitizer + UndefinedBehaviorSanitizer
# (build-asan) and runs them all, then builds the tests that run threads with
# ThreadSanitizer (build-tsan: the simulated module's notification thread,
# the window's device notice, the sample-file writer threads) and runs those.
# Any report fails its test; both builds run even when the first fails. Suppressions name third-party libraries only.
set -euo pipefail
cd "$(dirname "$0")/.."
supp="$PWD/tests/sanitizers"

config=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVAN_BENCH=OFF)
if command -v ccache >/dev/null 2>&1; then
  config+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
cmake -S . -B build-asan "${config[@]}" -DTRELVAN_SANITIZE=address,undefined >/dev/null
cmake --build build-asan
failed=0
ctest --test-dir build-asan --output-on-failure -j2 --timeout 600 || failed=1

echo "== ThreadSanitizer: the tests that run threads"
cmake -S . -B build-tsan "${config[@]}" -DTRELVAN_SANITIZE=thread >/dev/null
cmake --build build-tsan --target test_sim test_files test_app
ctest --test-dir build-tsan --output-on-failure -j2 --timeout 600 -L '^test_(sim|files|app)$' || failed=1
exit "$failed"
