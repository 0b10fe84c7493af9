#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (build-fuzz) and runs each for a
# bounded number of inputs, starting from its seed corpus in fuzz/corpus/,
# as many at once as there are cores. New inputs go to a scratch folder,
# never into the tree. A crash, a sanitizer report or a failed expectation
# fails the run; the input that caused it is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/builds.sh

configure_build fuzz
run_fuzzers
