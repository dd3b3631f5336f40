# shellcheck shell=bash
# Times the phases of a long script, sourced by it. `phase NAME COMMAND [ARGS...]` runs the command
# in a subshell of its own and notes its wall time, its CPU time (user and system of every process
# it waited for, which other load on the machine hardly moves) and how it ended. `phase_beside`
# starts one in the background, its output kept until `phase_join` waits for it and prints it.
# When the script ends, however it ends, the table of the phases so far is printed with the
# elapsed time and the load averages at the start and the end.

phase_log="$(mktemp)"
phase_started=$EPOCHREALTIME
phase_load_at_start="$(cut -d' ' -f1-3 /proc/loadavg)"
phase_pids=()
phase_names=()
phase_outputs=()

phase_ms() { echo $((${1//[!0-9]/} / 1000)); }

# Notes a phase's row from its own subshell: the CPU time is that of the subshell and of the
# children it waited for, from its /proc stat, whose fields after the command's name hold utime,
# stime, cutime and cstime in clock ticks.
phase_note() {
    local name="$1" start="$2" status="$3" stat fields
    read -r stat <"/proc/$BASHPID/stat"
    read -r -a fields <<<"${stat##*) }"
    local cpu_ms=$(((fields[11] + fields[12] + fields[13] + fields[14]) * 1000 / $(getconf CLK_TCK)))
    local wall_ms=$(($(phase_ms "$EPOCHREALTIME") - $(phase_ms "$start")))
    printf '%s\t%s\t%s\t%s\n' "$name" "$wall_ms" "$cpu_ms" "$status" >>"$phase_log"
}

phase() {
    local name="$1"
    shift
    (
        start=$EPOCHREALTIME
        trap 'phase_note "$name" "$start" $?' EXIT
        trap 'exit 143' TERM
        "$@"
    )
}

# A phase in a process group of its own, so that a failure elsewhere can end all of it.
phase_beside() {
    local output
    output="$(mktemp)"
    set -m
    phase "$@" >"$output" 2>&1 &
    set +m
    phase_pids+=("$!")
    phase_names+=("$1")
    phase_outputs+=("$output")
}

phase_print_output() {
    echo "---- $1 (ran beside the phases after it) ----"
    cat "$2"
    rm -f "$2"
}

# Waits for the phases started beside, prints what each wrote and fails as the first failed one.
phase_join() {
    local i status=0
    for i in "${!phase_pids[@]}"; do
        wait "${phase_pids[i]}" || status=$?
        phase_print_output "${phase_names[i]}" "${phase_outputs[i]}"
        unset 'phase_pids[i]' 'phase_names[i]' 'phase_outputs[i]'
        [ "$status" -eq 0 ] || return "$status"
    done
}

phase_seconds() { printf '%d.%d' $(($1 / 1000)) $((($1 % 1000) / 100)); }

phase_table() {
    local status=$? i
    for i in "${!phase_pids[@]}"; do
        kill -- "-${phase_pids[i]}" 2>/dev/null || true
        wait "${phase_pids[i]}" 2>/dev/null || true
        phase_print_output "${phase_names[i]}, ended by the failure" "${phase_outputs[i]}"
    done
    local cpu_ms=0 name wall cpu ended
    echo
    printf '%-44s %8s %8s\n' phase 'wall s' 'CPU s'
    while IFS=$'\t' read -r name wall cpu ended; do
        cpu_ms=$((cpu_ms + cpu))
        printf '%-44s %8s %8s%s\n' "$name" "$(phase_seconds "$wall")" "$(phase_seconds "$cpu")" \
            "$([ "$ended" = 0 ] || echo "  failed ($ended)")"
    done <"$phase_log"
    local elapsed_ms=$(($(phase_ms "$EPOCHREALTIME") - $(phase_ms "$phase_started")))
    printf '%-44s %8s %8s\n' "in all (elapsed, and every phase's CPU)" \
        "$(phase_seconds "$elapsed_ms")" "$(phase_seconds "$cpu_ms")"
    printf '%d min %d s elapsed; load average at the start %s, at the end %s\n' \
        $((elapsed_ms / 60000)) $(((elapsed_ms / 1000) % 60)) "$phase_load_at_start" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
    rm -f "$phase_log"
    return "$status"
}
trap phase_table EXIT
