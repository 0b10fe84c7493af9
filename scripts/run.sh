#!/usr/bin/env bash
# Installs what is missing, builds, and opens Trelvan on the simulated module.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target trelvan
exec build/src/app/trelvan
