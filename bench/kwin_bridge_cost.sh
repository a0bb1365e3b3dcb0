#!/usr/bin/env bash
# What the KWin bridge costs the compositor. On a headless KWin, with a
# stand-in for the program on the session bus, phases side by side: the
# pointer at rest without and with the pointer script loaded, and moving
# without and with it, in turns, ROUNDS times, since KWin's own cost of the
# motion drifts from minute to minute on a shared machine. Moving means 100
# motion events a second through KWin's fake input, back and forth across the
# screen. For each phase: CPU seconds per minute of kwin_wayland and of the
# session bus daemon (utime + stime from /proc/PID/stat), and the script's
# reports per second; at the end what the script adds to KWin, on average.
# Last, the program itself in KWin's session, loading the script as it does
# at its start, at rest and moving: its own CPU seconds per minute too.
#
#   bench/kwin_bridge_cost.sh [build folder]         (default: build)
#   SECONDS_PER_PHASE=60 bench/kwin_bridge_cost.sh   (default 30)
#   ROUNDS=5 bench/kwin_bridge_cost.sh               (default 3)
#   KWIN_SCRIPT=other.js bench/kwin_bridge_cost.sh   (a variant of the script)
#
# Runs as root: KWin needs a private mount namespace here (see kwin.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
tools=$build/tests/e2e/wayland
seconds=${SECONDS_PER_PHASE:-30}
rounds=${ROUNDS:-3}
settle=2
script=$(realpath "${KWIN_SCRIPT:-$root/resources/kwin/quorzane-pointer.js}")
for tool in kwin_pointer pointer_receiver kwin_script_driver; do
    [ -x "$tools/$tool" ] || { echo "missing $tools/$tool: build it first" >&2; exit 1; }
done
[ -x "$build/quorzane" ] || { echo "missing $build/quorzane: build it first" >&2; exit 1; }
# lib.sh wants the X pointer tool named; it is not used here.
export QUORZANE=$build/quorzane POINTER_PATH=${POINTER_PATH:-unused}
source "$root/tests/e2e/lib.sh"
# shellcheck source=tests/e2e/wayland/kwin.sh
source "$root/tests/e2e/wayland/kwin.sh"
source "$root/bench/lib.sh"

width=800
height=600
start_kwin "$width" "$height"
bus_daemon=$(timeout 5 dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.freedesktop.DBus | awk '{ print $2 }')
"$tools/pointer_receiver" >"$KWIN_TMP/reports.log" 2>&1 &
receiver=$!
started_pids+=("$receiver")
wait_until "grep -q '^ready' '$KWIN_TMP/reports.log'" 10 || fail "the receiver did not start"

hz=$(getconf CLK_TCK)
declare -A cost # KWin's CPU ticks in each kind of phase, summed
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
# $1 ticks in $2 phases (default 1) as CPU seconds per minute.
per_minute() { awk -v n="$1" -v hz="$hz" -v t="$((seconds * ${2:-1}))" 'BEGIN { printf "%.3f", n / hz * 60 / t }'; }
reports() { grep -c '^moved' "$KWIN_TMP/reports.log" || true; }

# Words for kwin_pointer: back and forth across the screen, one second a
# way, for $1 seconds.
to_and_fro() {
    local way words=(move 100 300)
    for ((way = 0; way < $1; way++)); do
        if ((way % 2 == 0)); then words+=(glide 700 300 1000); else words+=(glide 100 300 1000); fi
    done
    echo "${words[@]}"
}

# Measures one phase named $1 while the pointer moves ($2 = moving) or
# rests; KWin's ticks are added to cost[$3].
measure() {
    local name=$1 motion=$2 mover='' kwin daemon heard program=0
    if [ "$motion" = moving ]; then
        # shellcheck disable=SC2046 # one word each
        "$tools/kwin_pointer" $(to_and_fro $((seconds + 2 * settle))) >/dev/null &
        mover=$!
        started_pids+=("$mover")
    fi
    sleep "$settle"
    kwin=$(cpu_ticks "$KWIN_PID")
    daemon=$(cpu_ticks "$bus_daemon")
    heard=$(reports)
    [ -z "$QUORZANE_PID" ] || program=$(cpu_ticks "$QUORZANE_PID")
    sleep "$seconds"
    [ -z "$QUORZANE_PID" ] || program=$(($(cpu_ticks "$QUORZANE_PID") - program))
    kwin=$(($(cpu_ticks "$KWIN_PID") - kwin))
    daemon=$(($(cpu_ticks "$bus_daemon") - daemon))
    heard=$(($(reports) - heard))
    [ -z "$mover" ] || wait "$mover" || fail "kwin_pointer failed"
    printf '%-24s %12s %12s %10s %12s\n' "$name" "$(per_minute "$kwin")" "$(per_minute "$daemon")" \
        "$(awk -v n="$heard" -v t="$seconds" 'BEGIN { printf "%.1f", n / t }')" \
        "$([ -z "$QUORZANE_PID" ] && echo - || per_minute "$program")"
    cost[$3]=$((${cost[$3]:-0} + kwin))
}

load_script() {
    "$tools/kwin_script_driver" "$script" >"$KWIN_TMP/driver.log" 2>&1 &
    driver=$!
    started_pids+=("$driver")
    wait_until "grep -q '^loaded' '$KWIN_TMP/driver.log'" 15 || fail "the script did not load: $(cat "$KWIN_TMP/driver.log")"
}

unload_script() {
    kill "$driver"
    wait "$driver" || fail "the driver did not unload the script"
}

echo "KWin $(dpkg-query -W -f='${Version}' kwin-wayland 2>/dev/null), ${width}x${height}, $seconds s a phase, $rounds rounds"
echo "script: $script"
printf '%-24s %12s %12s %10s %12s\n' "phase" "kwin s/min" "bus s/min" "reports/s" "program s/min"
measure "at rest, no script" resting rest_without
load_script
measure "at rest, script loaded" resting rest_with
unload_script
for ((round = 1; round <= rounds; round++)); do
    measure "moving, no script" moving moving_without
    load_script
    measure "moving, script loaded" moving moving_with
    unload_script
done

# The program in the stand-in's place: reports reach it, not the receiver.
program_in_receivers_place "$receiver" "the KWin script"
measure "program, at rest" resting program_rest
measure "program, moving" moving program_moving
stop_quorzane TERM

echo "KWin alone: $(per_minute "${cost[moving_without]}" "$rounds") s/min while the pointer moves;" \
    "the script adds $(per_minute $((cost[moving_with] - cost[moving_without])) "$rounds") s/min while it moves," \
    "$(per_minute $((cost[rest_with] - cost[rest_without]))) s/min at rest"
