#!/usr/bin/env bash
# Peak resident memory of the calculator once its window is shown, against the bare window.
# Usage: bench/peak_memory.sh [build-dir [runs]]; the default build directory is build/.
# Each program runs offscreen under /usr/bin/time -v until it sits idle in its event loop
# (window shown and painted), and is then terminated; time reports its peak resident size.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
runs="${2:-5}"
export QT_QPA_PLATFORM=offscreen

# CPU ticks (user + system) used so far by a process.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo gone; }

# Prints the peak resident size in KiB of one run of the program $1.
peak_kib() {
    local report
    report=$(mktemp)
    /usr/bin/time -v -o "$report" "$1" &
    local time_pid=$! pid=""
    until [ -n "$pid" ]; do
        pid=$(cat "/proc/$time_pid/task/$time_pid/children" 2>/dev/null || true)
        pid=${pid// /}
        sleep 0.01
    done
    # Idle: no CPU used for half a second, which the program reaches only after its window is
    # shown and painted; give up after 20 seconds.
    local last=-1 still=0 polls=0 now
    while [ "$still" -lt 5 ] && [ "$polls" -lt 200 ]; do
        sleep 0.1
        now=$(cpu_ticks "$pid")
        if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; fi
        last=$now
        polls=$((polls + 1))
    done
    [ "$still" -ge 5 ] || echo "warning: $1 never went idle; its figure is taken while busy" >&2
    kill -TERM "$pid"
    wait "$time_pid" || true
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$report"
    rm -f "$report"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

bare=()
form=()
# Taken in turns, so both programs see the same load.
for ((i = 0; i < runs; ++i)); do
    bare+=("$(peak_kib "$build_dir/bench/bare_window")")
    form+=("$(peak_kib "$build_dir/main_window/Orvalex_KEP")")
done
bare_median=$(printf '%s\n' "${bare[@]}" | median)
form_median=$(printf '%s\n' "${form[@]}" | median)
echo "bare window peak RSS: ${bare[*]} KiB, median $bare_median KiB"
echo "Orvalex_KEP peak RSS: ${form[*]} KiB, median $form_median KiB"
awk -v f="$form_median" -v b="$bare_median" 'BEGIN { printf "ratio Orvalex_KEP / bare window: %.3f\n", f / b }'
