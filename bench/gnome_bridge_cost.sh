#!/usr/bin/env bash
# What the GNOME Shell extension costs the shell: CPU seconds per minute of
# gnome-shell (headless, as in the end-to-end tests) while the pointer moves
# at 100 motion events a second with the extension on and off, in turns to
# even out the machine's other load, and at rest with it on. A stand-in
# receiver owns the program's bus name, so that the extension reports. The
# shell's main thread is given apart: the extension runs there, while most
# of the shell's own cost of a moving pointer is its software rendering.
#
#   bench/gnome_bridge_cost.sh                   (as root; needs the e2e tools built)
#   ROUNDS=2 SECONDS_PER_RUN=20 bench/gnome_bridge_cost.sh   (defaults 4 and 30)
set -euo pipefail

tools=$(cd "$(dirname "$0")/../build/tests/e2e" && pwd)
rounds=${ROUNDS:-4}
seconds=${SECONDS_PER_RUN:-30}
# lib.sh wants the program and the X pointer tool named; neither is used here.
export QUORZANE=${QUORZANE:-unused} POINTER_PATH=${POINTER_PATH:-unused}
source "$(dirname "$0")/../tests/e2e/lib.sh"
source "$(dirname "$0")/../tests/e2e/wayland/gnome.sh"
for tool in gnome_pointer moved_log; do
    [ -x "$tools/$tool" ] || { echo "missing $tools/$tool: build it first" >&2; exit 1; }
done

start_gnome 800 600
shell=$(cat "$GNOME_DIR/shell.pid")
"$tools/moved_log" >"$E2E_TMP/reports" 2>"$E2E_TMP/receiver.err" &
started_pids+=($!)
wait_until "grep -q ready '$E2E_TMP/receiver.err'" 5 || fail "the receiver did not start"

# Back and forth across the screen, 600 pixels each half second.
path=(0:100,300)
for leg in $(seq $((seconds * 2))); do
    path+=("$((leg * 500)):$((leg % 2 ? 700 : 100)),300")
done
walk() {
    "$tools/gnome_pointer" "${path[@]}" >/dev/null
}
rest() {
    sleep "$seconds"
}

hz=$(getconf CLK_TCK)
cpu_ticks() {
    awk '{ print $14 + $15 }' "$1"
}
# Prints the main thread's and the whole shell's CPU seconds per minute, and
# the reports per minute, while the command given runs.
measure() {
    local main whole reports
    main=$(cpu_ticks "/proc/$shell/task/$shell/stat")
    whole=$(cpu_ticks "/proc/$shell/stat")
    reports=$(wc -l <"$E2E_TMP/reports")
    "$@"
    awk -v hz="$hz" -v t="$seconds" -v main=$(($(cpu_ticks "/proc/$shell/task/$shell/stat") - main)) \
        -v whole=$(($(cpu_ticks "/proc/$shell/stat") - whole)) -v reports=$(($(wc -l <"$E2E_TMP/reports") - reports)) \
        'BEGIN { printf "%8.2f %8.2f %8.0f\n", main / hz * 60 / t, whole / hz * 60 / t, reports * 60 / t }'
}
extension() {
    gnome_extensions_call "$1" "$GNOME_UUID" >/dev/null
    sleep 1
}

echo "GNOME Shell's cost over $seconds s per run ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-8s %-13s %8s %8s %8s\n' round state "main" "shell" "reports"
sleep 3
for round in $(seq "$rounds"); do
    printf '%-8s %-13s ' "$round" moving-on
    measure walk
    extension DisableExtension
    printf '%-8s %-13s ' "$round" moving-off
    measure walk
    extension EnableExtension
done
printf '%-8s %-13s ' - resting-on
measure rest
