#!/usr/bin/env bash
# Configures (once) and builds everything.
# Usage: build.sh [build-dir [cmake options...]]; the default build directory is build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
shift || true
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja "$@"
fi
cmake --build "$build_dir"
