#!/usr/bin/env bash
# Builds the fuzzers with clang and runs them one after the other, sharing the time: the calculation
# core's presses, the command line's arguments, the design file's reader, the batch's rails and the
# page's requests. Any crash, sanitizer report or broken invariant fails.
# Usage: fuzz.sh [seconds [build-dir]]; 60 seconds in all by default, in build-fuzz/ unless another
# build directory configured with ORVALEX_FUZZ=ON is named (the test command's sanitizer build).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build_dir="${2:-build-fuzz}"
scripts/install-deps.sh test

if [ ! -f "$build_dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DORVALEX_FUZZ=ON
elif ! grep -qx 'ORVALEX_FUZZ:BOOL=ON' "$build_dir/CMakeCache.txt"; then
    echo "fuzz.sh: $build_dir is not configured with ORVALEX_FUZZ=ON" >&2
    exit 2
fi
cmake --build "$build_dir" --target press_fuzzer argument_fuzzer design_file_fuzzer batch_fuzzer \
    request_fuzzer

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build_dir/fuzz_findings"
# Each fuzzer: its binary, its checked-in seeds, its share of the time.
run_fuzzer() {
    local binary="$1" seeds="$2" time="$3"
    # The fuzzer adds what it finds to the working copy; the checked-in seeds stay as they are.
    local corpus="$build_dir/fuzz_corpus/$(basename "$binary")"
    mkdir -p "$corpus"
    cp "$seeds"/* "$corpus/"
    "$build_dir/$binary" -max_total_time="$time" -print_final_stats=1 \
        -artifact_prefix="$build_dir/fuzz_findings/" "$corpus"
}
# The core's presses take a third of the time, the others a sixth each.
share() { echo $(( (seconds * $1 + 5) / 6 )); }
run_fuzzer tests/calc_core/press_fuzzer tests/calc_core/fuzz_corpus "$(share 2)"
run_fuzzer tests/command_line/argument_fuzzer tests/command_line/fuzz_corpus "$(share 1)"
run_fuzzer tests/design_file/design_file_fuzzer tests/design_file/fuzz_corpus "$(share 1)"
run_fuzzer tests/command_line/batch_fuzzer tests/command_line/batch_fuzz_corpus "$(share 1)"
run_fuzzer tests/web_page/request_fuzzer tests/web_page/fuzz_corpus "$(share 1)"
