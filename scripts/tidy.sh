#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over the project's own C++ and fails on any
# warning: the sources in the build's compile_commands.json (generated moc and resource files
# left out) and the fuzzers, which only the fuzzing build compiles. Headers are judged through the
# sources that include them, those of the project's folders only.
# Usage: tidy.sh [build-dir]; build/ by default, configured as scripts/test.sh configures it.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
root_pattern="$(printf '%s' "$root" | sed 's/[][\\.*^$()+?{}|]/\\&/g')"
build_dir="${1:-build}"
database="$build_dir/compile_commands.json"
if [ ! -f "$database" ]; then
    echo "tidy.sh: $database is missing; configure the build first" >&2
    exit 2
fi
# The project's folders are those of its tracked C++ files; the build directory is not among them.
folders="$(git ls-files '*.cpp' '*.h' | sed -n 's|/.*||p' | sort -u | paste -sd '|')"

mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
    grep -E "^$root_pattern/($folders)/" | sort -u)
# The fuzzers are not in the database; clang-tidy takes their flags from the tests beside them.
mapfile -t -O "${#files[@]}" files < <(git ls-files 'tests/*_fuzzer.cpp' | sed "s|^|$root/|")

start=$SECONDS
# Each file's findings are printed together, as it finishes.
printf '%s\n' "${files[@]}" | xargs -P 2 -I {} sh -c '
    if ! out=$(clang-tidy -p "$1" --quiet --warnings-as-errors="*" --header-filter="$2" "$3" 2>&1)
    then
        printf "%s\n" "$out"
        exit 1
    fi' tidy "$build_dir" "^$root_pattern/($folders)/" {}
echo "clang-tidy: ${#files[@]} files clean in $((SECONDS - start)) s"
