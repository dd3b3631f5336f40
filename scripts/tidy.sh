#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over the project's own C++ and fails on any
# warning: the sources in the build's compile_commands.json (generated moc and resource files
# left out) and the fuzzers, which only the fuzzing build compiles. Headers are judged through the
# sources that include them, those of the project's folders only. Prints the CPU time of the run
# and of its slowest files.
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

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The commands without the build's precompiled headers: GCC's, which clang cannot read. Each source
# includes what it uses, so clang-tidy reads the same code as without them.
mkdir "$work/database" "$work/times"
sed 's| -include [^ ]*/cmake_pch\.hxx||' "$database" >"$work/database/compile_commands.json"

start=$SECONDS
# Each file's findings are printed together, as it finishes; its CPU time is noted by its name.
status=0
printf '%s\n' "${files[@]}" | xargs -P 2 -I {} sh -c '
    if ! out=$(/usr/bin/time -f "%U %S" -o "$4/$(echo "$3" | tr / :)" \
        clang-tidy -p "$1" --quiet --warnings-as-errors="*" --header-filter="$2" "$3" 2>&1)
    then
        printf "%s\n" "$out"
        exit 1
    fi' tidy "$work/database" "^$root_pattern/($folders)/" {} "$work/times" || status=$?
for file in "$work"/times/*; do
    name="$(basename "$file" | tr : /)"
    printf '%s %s\n' "$(awk '{ print $1 + $2 }' "$file")" "${name#"$root"/}"
done | sort -rn >"$work/cpu"
cp "$work/cpu" "$build_dir/tidy-cpu.txt"
verdict="clean"
[ "$status" -eq 0 ] || verdict="read, some with findings,"
echo "clang-tidy: ${#files[@]} files $verdict in $((SECONDS - start)) s," \
    "$(awk '{ sum += $1 } END { printf "%.0f", sum }' "$work/cpu") s of CPU; the slowest:"
head -n 5 "$work/cpu" | awk '{ printf "    %5.1f s  %s\n", $1, $2 }'
exit "$status"
