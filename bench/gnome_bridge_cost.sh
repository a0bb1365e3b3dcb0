#!/usr/bin/env bash
# What the GNOME Shell extension costs the shell: CPU seconds per minute of
# gnome-shell (headless, as in the end-to-end tests) while the pointer moves
# at 100 motion events a second with the extension on and off, in turns to
# even out the machine's other load, and at rest with it on. A stand-in
# receiver owns the program's bus name, so that the extension reports. The
# shell's main thread is given apart: the extension runs there, while most
# of the shell's own cost of a moving pointer is its software rendering.
# Last, the program itself in the receiver's place, at rest and moving: its
# own CPU seconds per minute too.
#
#   bench/gnome_bridge_cost.sh                   (as root; needs the e2e tools built)
#   ROUNDS=2 SECONDS_PER_RUN=20 bench/gnome_bridge_cost.sh   (defaults 4 and 30)
set -euo pipefail

build=$(cd "$(dirname "$0")/../build" && pwd)
tools=$build/tests/e2e
rounds=${ROUNDS:-4}
seconds=${SECONDS_PER_RUN:-30}
[ -x "$build/quorzane" ] || { echo "missing $build/quorzane: build it first" >&2; exit 1; }
# lib.sh wants the X pointer tool named; it is not used here.
export QUORZANE=$build/quorzane POINTER_PATH=${POINTER_PATH:-unused}
source "$(dirname "$0")/../tests/e2e/lib.sh"
source "$(dirname "$0")/../tests/e2e/wayland/gnome.sh"
source "$(dirname "$0")/lib.sh"
for tool in gnome_pointer moved_log; do
    [ -x "$tools/$tool" ] || { echo "missing $tools/$tool: build it first" >&2; exit 1; }
done

start_gnome 800 600
shell=$(cat "$GNOME_DIR/shell.pid")
"$tools/moved_log" >"$E2E_TMP/reports" 2>"$E2E_TMP/receiver.err" &
receiver=$!
started_pids+=("$receiver")
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
# Prints the main thread's and the whole shell's CPU seconds per minute, the
# reports per minute and the program's CPU seconds per minute when it runs,
# while the command given runs.
measure() {
    local main whole reports program=0
    [ -z "$QUORZANE_PID" ] || program=$(cpu_ticks "/proc/$QUORZANE_PID/stat")
    main=$(cpu_ticks "/proc/$shell/task/$shell/stat")
    whole=$(cpu_ticks "/proc/$shell/stat")
    reports=$(wc -l <"$E2E_TMP/reports")
    "$@"
    [ -z "$QUORZANE_PID" ] || program=$(($(cpu_ticks "/proc/$QUORZANE_PID/stat") - program))
    awk -v hz="$hz" -v t="$seconds" -v main=$(($(cpu_ticks "/proc/$shell/task/$shell/stat") - main)) \
        -v whole=$(($(cpu_ticks "/proc/$shell/stat") - whole)) -v reports=$(($(wc -l <"$E2E_TMP/reports") - reports)) \
        -v program="$program" -v running="${QUORZANE_PID:+1}" \
        'BEGIN { printf "%8.2f %8.2f %8.0f %8s\n", main / hz * 60 / t, whole / hz * 60 / t, reports * 60 / t,
                 running ? sprintf("%.2f", program / hz * 60 / t) : "-" }'
}
extension() {
    gnome_extensions_call "$1" "$GNOME_UUID" >/dev/null
    sleep 1
}

echo "GNOME Shell's cost over $seconds s per run ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-8s %-13s %8s %8s %8s %8s\n' round state "main" "shell" "reports" "program"
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

# The program in the receiver's place.
program_in_receivers_place "$receiver" "the GNOME Shell extension"
printf '%-8s %-13s ' - program-rest
measure rest
printf '%-8s %-13s ' - program-moving
measure walk
stop_quorzane TERM
