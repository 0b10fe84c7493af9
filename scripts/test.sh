#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: first the
# sanitizer builds and the fuzzers, then the plain build, whose CTest summary
# is the last thing printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

hardening=0
bash scripts/sanitize.sh || hardening=1
bash scripts/fuzz.sh || hardening=1
if [ "$hardening" -ne 0 ]; then
  echo "test: a sanitizer build or a fuzzer failed (see above)" >&2
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2 --timeout 600
exit "$hardening"
