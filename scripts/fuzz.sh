#!/usr/bin/env bash
# Builds the fuzzer of the calculation core with clang and runs it for a while; any crash,
# sanitizer report or broken invariant fails.
# Usage: fuzz.sh [seconds]; 60 seconds by default.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build_dir=build-fuzz
scripts/install-deps.sh test

if [ ! -f "$build_dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DORVALEX_FUZZ=ON
fi
cmake --build "$build_dir" --target press_fuzzer

# The fuzzer adds what it finds to the working copy; the checked-in seeds stay as they are.
corpus="$build_dir/fuzz_corpus"
mkdir -p "$corpus" "$build_dir/fuzz_findings"
cp tests/calc_core/fuzz_corpus/* "$corpus/"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$build_dir/tests/calc_core/press_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build_dir/fuzz_findings/" "$corpus"
