#!/usr/bin/env bash
# Fails when a C++ source does not follow the checked-in .clang-format, naming each place.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find calc_core main_window tests bench web_page -name '*.cpp' -o -name '*.h')
fi
clang-format --dry-run --Werror "${files[@]}"
