#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (build-fuzz) and runs each for a
# bounded number of inputs, starting from its seed corpus in fuzz/corpus/.
# New inputs go to a scratch folder, never into the tree. A crash, a
# sanitizer report or a failed expectation fails the run; the input that
# caused it is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

config=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVAN_BENCH=OFF -DTRELVAN_TESTS=OFF
        -DTRELVAN_FUZZ=ON -DTRELVAN_SANITIZE=address,undefined)
if command -v ccache >/dev/null 2>&1; then
  config+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${config[@]}" >/dev/null
cmake --build build-fuzz --target fuzzers

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p build-fuzz/artifacts
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# name, runs, longest input
runs=(
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
  echo "== fuzz_$name: $count inputs"
  if ! build-fuzz/fuzz/fuzz_"$name" -runs="$count" -max_len="$maxlen" -timeout=20 \
      -artifact_prefix="build-fuzz/artifacts/$name-" \
      "$scratch/$name" "fuzz/corpus/$name" >"$scratch/$name.log" 2>&1; then
    cat "$scratch/$name.log" >&2
    echo "fuzz_$name failed" >&2
    exit 1
  fi
  grep -E '^Done|^#[0-9]+ *DONE' "$scratch/$name.log" || tail -n 1 "$scratch/$name.log"
done
