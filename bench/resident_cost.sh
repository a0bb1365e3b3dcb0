#!/usr/bin/env bash
# What the resident program costs while it sits in the tray: CPU time per
# minute (user + system, from /proc) and peak resident memory (VmHWM), with
# the animation on and off, beside the floor of a bare Xlib program that only
# queries the pointer every 50 ms. Runs under a private Xvfb with trayer.
#
#   bench/resident_cost.sh [build folder]        (default: build)
#   SECONDS_PER_RUN=20 bench/resident_cost.sh    (shorter runs, default 60)
set -euo pipefail

build=${1:-$(dirname "$0")/../build}
quorzane=$build/quorzane
floor=$build/bench/pointer_floor
seconds=${SECONDS_PER_RUN:-60}
settle=2
for program in "$quorzane" "$floor"; do
    [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quorzane-cost.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
pids+=($!)
sleep 1

ticks_per_second=$(getconf CLK_TCK)

# utime + stime of process $1, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs "$@" for $seconds after a short settling time and prints one line.
measure() {
    local label=$1
    shift
    "$@" >"$work/output" 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep "$settle"
    local before after hwm
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" || true
    awk -v label="$label" -v ticks=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" -v kb="$hwm" \
        'BEGIN { printf "%-28s %6.3f s CPU/min   %6.1f MB peak resident\n", label, ticks / hz * 60 / s, kb / 1024 }'
}

# The program with its own settings folder, animation on or off.
run_quorzane() {
    local animation=$1
    export HOME=$work/home-$animation XDG_CONFIG_HOME=$work/home-$animation/config
    mkdir -p "$XDG_CONFIG_HOME/quorzane"
    printf '[OPTIONS]\nTaskBarAnimation=%s\nTimesInProgram=1\n' "$animation" >"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
    exec "$quorzane"
}

echo "Resident cost over $seconds s per run ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
measure "pointer floor (Xlib)" "$floor"
measure "quorzane, animation on" run_quorzane 1
measure "quorzane, animation off" run_quorzane 0
echo "Goals: at most 0.4 s CPU/min with the animation on, at most 30 MB peak resident."
