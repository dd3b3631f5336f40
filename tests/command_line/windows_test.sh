#!/usr/bin/env bash
# The Windows program under wine answers every command line as the native program does: the same
# stdout, stderr and exit status, byte for byte, and the same text on a console. Also checks that
# it needs no DLL beyond Windows' own and that its version resource names it.
# Usage: windows_test.sh NATIVE_PROGRAM WINDOWS_PROGRAM; the wine prefix is made beside the
# Windows program (WINEPREFIX overrides it).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 NATIVE_PROGRAM WINDOWS_PROGRAM" >&2; exit 2; }
native="$(realpath "$1")"
exe="$(realpath "$2")"
wine=/usr/lib/wine/wine64
export WINEPREFIX="${WINEPREFIX:-$(dirname "$exe")/wineprefix}"
# No wine messages on stderr, and no offer to install Mono or Gecko when the prefix is made.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the arguments' bytes in the locale's character set.
export LC_ALL=C.UTF-8
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the wine prefix $WINEPREFIX"
    "$wine" wineboot -i >"$work/wineboot.log" 2>&1
fi

# Windows' own DLLs; the C++ runtime and the threads are linked in.
while read -r dll; do
    case "${dll,,}" in
    kernel32.dll | msvcrt.dll | shell32.dll | user32.dll | advapi32.dll | api-ms-win-*) ;;
    *) fail "the program needs $dll" ;;
    esac
done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')

resource="$(x86_64-w64-mingw32-windres -i "$exe" -O rc | sed 's/^\s*//')"
while read -r line; do
    grep -qxF "$line" <<<"$resource" || fail "the version resource has no line: $line"
done <<'LINES'
LANGUAGE 9, 1
FILEVERSION 1, 0, 0, 0
PRODUCTVERSION 1, 0, 0, 0
BLOCK "040904B0"
VALUE "ProductName", "Orvalex_KEP"
VALUE "InternalName", "Orvalex_KEP"
VALUE "OriginalFilename", "orvalex-kep.exe"
VALUE "FileVersion", "1.00"
VALUE "ProductVersion", "1.00"
VALUE "Translation", 0x409, 1200
LINES

# Runs one command line through both programs and compares what they give back. The first
# argument is the Windows program to run (its name on the command line differs from the native).
compared=0
compare() {
    local program="$1"
    shift
    local status=0 wine_status=0
    "$native" "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
    "$wine" "$program" "$@" </dev/null >"$work/wine-out" 2>"$work/wine-err" || wine_status=$?
    compared=$((compared + 1))
    local shown="${*:1:8}"
    [ "$status" -eq "$wine_status" ] || fail "$shown: exit status $wine_status, not $status"
    cmp -s "$work/out" "$work/wine-out" || {
        fail "$shown: stdout differs"
        diff <(cat -A "$work/out") <(cat -A "$work/wine-out") | head -20
    }
    cmp -s "$work/err" "$work/wine-err" || {
        fail "$shown: stderr differs"
        diff <(cat -A "$work/err") <(cat -A "$work/wine-err") | head -20
    }
}

# The documents' date, the same for both programs: 2025-12-31.
export SOURCE_DATE_EPOCH=1767139200

# One command line a row, in the shell's quoting. A row that starts with a command runs a
# second time with --json after the command.
# shellcheck disable=SC2034 # the rows use it
calc="design --vref 2.5 --vo-max 40 --vo-min 30"
args=()
while read -r row; do
    [ -z "$row" ] || [ "${row:0:1}" = "#" ] && continue
    eval "args=($row)"
    compare "$exe" "${args[@]}"
    case "${args[0]:-}" in
    design | check) compare "$exe" "${args[0]}" --json "${args[@]:1}" ;;
    esac
done <<'ROWS'
# The worked examples of both presses, passing and failing.
design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 30
design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6
design --r2 1000 --vref 1.0 --vo-max 35 --vo-min 10
design --r2 10000 --vref 2.5 --vo-max 30 --vo-min 40
design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 2
design --r2 100 --vref 2.0 --vo-max 101.2 --vo-min 40.2
design --r2 2 --vref 0.5 --vo-max 240.6 --vo-min 90.8
check --r1 470 --r2 10 --r3 100 --vref 1.2
check --r1 470 --r2 10 --r3 100 --vref 1.2 --vf 0.6
check --r1 300 --r2 4 --r3 37 --vref 1.25
check --r1 330 --r2 10 --r3 1000 --vref 1.0
check --r1 100 --r2 100 --r3 12 --vref 0.5
# The engineering forms, and every flag of the analysis.
check --r1 10k --r2 1k --r3 2k2 --vref 1.2
check --r1 4k7 --r2 1k --r3 2k2 --vref 1.2
check --r1 4.7k --r2 1k --r3 2k2 --vref 1.2
check --r1 2M2 --r2 1k --r3 2k2 --vref 1.2
check --r1 470R --r2 1k --r3 2k2 --vref 1.2
check --r1 4R7 --r2 1k --r3 2k2 --vref 1.2
check --r1 1e4 --r2 1k --r3 2k2 --vref 1.2
check --r1 0.33k --r2 1k --r3 2k2 --vref 1.2
design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6 --series E24 --tolerance 0.5 --vref-tolerance 2 --level-accuracy 5 --vf-spread 0.1 --pin-voltage 5
check --r1 64955 --r2 10k --r3 7210 --vref 2.5 --series E192 --tolerance 5 --pin-voltage 1.8
# The parts to buy and the yield: the same bits from the same seed on every platform.
design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --meet-spec --yield --boards 20000 --seed 12345678901234567890
check --r1 470 --r2 10 --r3 100 --vref 1.2 --vf 0.6 --yield --distribution normal --boards 5000 --spec 8
design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --meet-spec --spec 1.5 --r2-min 4k7 --r2-max 47k
# The documents; with --json added they ask for two reports and are refused.
design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 30 --format html
check --r1 470 --r2 10 --r3 100 --vref 1.2 --vf 0.6 --fit-r1 480 --fit-r3 100 --format csv
# The help and the version, which name the program.
--help
design --help
check --help
--version
# Bad command lines: missing, unknown and repeated flags, bad and missing values.
""
design "" --r2 1k
--frobnicate
frobnicate --r2 1
design --vref 2.5 --vo-max 40 --vo-min 30
$calc --r2 10k --r3 5
$calc --r2 10k --r2=12k
$calc --r2 10k --json --json
$calc --r2 10k extra
$calc --r2 10k --vf
$calc --r2 4x7
$calc --r2 10k --vf 0,6
design --r2 10k --vref nan --vo-max 40 --vo-min 30
design --r2 10k --vref 2.5 --vo-max inf --vo-min 30
$calc --r2 1e999
$calc --r2 10k --tolerance 1e999
$calc --r2 "$(printf '7%.0s' {1..10000})x"
$calc --r2 "$(printf '9%.0s' {1..400})M"
$calc --r2 10k --series E7
# Values that are not ASCII, and quotes and spaces, which the Windows command line must carry.
$calc --r2 $'4\xCE\xA9\n7'
$calc --r2 4kΩ7
$calc --r2 '4 7' --vf 'a"b'
$calc --r2 'a\"b\'
# The press's own messages, and a design the gate refuses.
$calc --r2 0
$calc --r2 -10k
$calc --r2 ""
$calc --r2 10k --vf=-0.6
check --r1 1 --r2 1 --r3 1e-300 --vref 1e300
check --r1 0 --r2 1 --r3 1 --vref 1
ROWS

# No argument at all; and the program's name in its messages is its own, however it was started.
compare "$exe"
cp "$exe" "$work/Orvalex-KEP.EXE"
compare "$work/Orvalex-KEP.EXE" design --r2 4x7
compare "$work/Orvalex-KEP.EXE" --help

# On a console (wine's, on a pseudo-terminal wider than any line of a report), Ω and µ show as
# such, and a message of the press follows the report. The console's escapes are taken out, and
# its moves to the right stand for the spaces.
console_lines=(
    "check --r1 4k7 --r2 1k --r3 2k2 --vref 1.2 --vf 0.6"
    "design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 2"
    "design --r2 4x7 --vref 2.5 --vo-max 40 --vo-min 30"
)
for line in "${console_lines[@]}"; do
    read -ra args <<<"$line"
    "$native" "${args[@]}" >"$work/out" 2>&1 || true
    script -qc "stty cols 1000; $(printf '%q ' "$wine" "$exe" "${args[@]}")" /dev/null </dev/null |
        perl -pe 's/\e\[(\d*)C/" " x ($1 || 1)/ge; s/\e\[[0-9;?]*[a-zA-Z]//g; s/\r//g' \
            >"$work/wine-out"
    compared=$((compared + 1))
    cmp -s "$work/out" "$work/wine-out" || {
        fail "$line: the console shows other text"
        diff "$work/out" "$work/wine-out" | head -20
    }
done

/usr/lib/wine/wineserver -w
echo "$compared command lines compared, $failures failures"
[ "$failures" -eq 0 ]
