#!/usr/bin/env bash
# Configures and builds everything.
# Usage: build.sh [build-dir [cmake options...]]; the default build directory is build/. The
# options are applied to an existing build directory too.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
shift || true
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja "$@"
elif [ $# -gt 0 ]; then
    cmake -S . -B "$build_dir" "$@"
fi
cmake --build "$build_dir"
