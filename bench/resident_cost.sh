#!/usr/bin/env bash
# What the resident program costs while it sits in the tray, beside a naive
# Qt tray program (cursor every 50 ms, an icon every 100 ms), a bare Xlib
# pointer poll every 50 ms, the program itself ticking continuously (as it
# did before it learnt to sleep), and the program with every rule against
# unmeant patterns on, after a pattern has made it follow the active window. One private Xvfb with trayer; the
# programs take turns, each at rest with the animation off, at rest with it
# on, and with the cursor moving (through XTest). For each: CPU seconds per
# minute of the program and of Xvfb + trayer, wake-ups per second (voluntary
# context switches of all threads), peak resident memory (VmHWM) and
# anonymous memory (RssAnon); and the time from start to the icon in the tray.
#
#   bench/resident_cost.sh [build folder]        (default: build)
#   SECONDS_PER_RUN=20 bench/resident_cost.sh    (shorter runs, default 60)
set -euo pipefail

build=${1:-$(dirname "$0")/../build}
quorzane=$build/quorzane
floor=$build/bench/pointer_floor
naive=$build/bench/naive_tray
pointer_path=$build/tests/e2e/pointer_path
seconds=${SECONDS_PER_RUN:-60}
settle=3
for program in "$quorzane" "$floor" "$naive" "$pointer_path"; do
    [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done

source "$(dirname "$0")/lib.sh"
bench_workdir cost

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
unset SESSION_MANAGER QUORZANE_TICK_CONTINUOUSLY
mkdir -p "$HOME" "$XDG_CONFIG_HOME/quorzane" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
pids+=("$xvfb")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
trayer=$!
pids+=("$trayer")
sleep 1

hz=$(getconf CLK_TCK)
# utime + stime of all threads of process $1, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
wake_ups() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

# Whether the tray has embedded a window of class $1.
in_tray() {
    local tray
    for tray in $(xdotool search --class '^trayer$' 2>/dev/null); do
        xwininfo -tree -id "$tray" 2>/dev/null | grep -qi "\"$1\")" && return 0
    done
    return 1
}

# Keeps the cursor moving for $1 seconds, a step every 20 ms, away from the
# corners and too slowly for a shake.
keep_moving() {
    local words=() step
    for ((step = 0; step < $1 * 50; step++)); do
        words+=(mousemove $((300 + (step % 100) * 2)) $((200 + (step % 50) * 4)) sleep 0.02)
    done
    "$pointer_path" "${words[@]}"
}

settings() {
    printf '[OPTIONS]\nTaskBarAnimation=%s\nTimesInProgram=1\n' "$1" >"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
    for n in 1 2 3 4 5 6 7 8; do echo "EVENT$n="; done >>"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
}

# measure LABEL SCENARIO CLASS COMMAND...: starts the command, notes how
# long its icon took to reach the tray (CLASS; - for none), lets it settle,
# and prints one line of figures over $seconds.
measure() {
    local label=$1 scenario=$2 class=$3
    shift 3
    "$pointer_path" mousemove 400 300
    local start=$EPOCHREALTIME
    "$@" >"$work/output" 2>&1 &
    local pid=$!
    pids+=("$pid")
    local shown=-
    if [ "$class" != - ]; then
        for _ in $(seq 1000); do in_tray "$class" && break; sleep 0.005; done
        shown=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", (b - a) * 1000 }')
    fi
    # A gesture made before the measurement, where a run asks for one.
    [ -z "${warm_up:-}" ] || "$pointer_path" $warm_up
    sleep "$settle"
    local own=$(cpu_ticks "$pid") server=$(($(cpu_ticks "$xvfb") + $(cpu_ticks "$trayer"))) woke=$(wake_ups "$pid")
    if [ "$scenario" = moving ]; then keep_moving "$seconds"; else sleep "$seconds"; fi
    own=$(($(cpu_ticks "$pid") - own))
    server=$(($(cpu_ticks "$xvfb") + $(cpu_ticks "$trayer") - server))
    woke=$(($(wake_ups "$pid") - woke))
    local hwm=$(status_kb "$pid" VmHWM) anon=$(status_kb "$pid" RssAnon)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v l="$label" -v s="$scenario" -v o="$own" -v x="$server" -v w="$woke" -v hz="$hz" -v t="$seconds" \
        -v h="$hwm" -v a="$anon" -v i="$shown" \
        'BEGIN { printf "%-24s %-9s %8.3f %8.3f %8.1f %7.1f %7.1f %7s\n", l, s,
                 o / hz * 60 / t, x / hz * 60 / t, w / t, h / 1024, a / 1024, i }'
}

run_quorzane() {
    settings "$1"
    exec "$quorzane"
}
# Every rule on, and a short corner rest (the gesture before the measurement).
run_guarded() {
    settings "$1"
    printf 'CornerWaitTime=100\n[GUARDS]\nNotWhileButtonHeld=1\nNotInFullScreen=1\nNotInListedPrograms=1\n' \
        >>"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
    echo "ListedPrograms=Xmessage;Firefox" >>"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
    exec "$quorzane"
}
run_continuously() {
    settings "$1"
    QUORZANE_TICK_CONTINUOUSLY=1 exec "$quorzane"
}

echo "Resident cost over $seconds s per run ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-24s %-9s %8s %8s %8s %7s %7s %7s\n' program state "s/min" "X+tray" "wakes/s" "peakMB" "anonMB" "tray ms"
for scenario in rest-off rest-on moving; do
    animation=1
    [ "$scenario" = rest-off ] && animation=0
    measure "quorzane" "$scenario" quorzane run_quorzane "$animation"
    warm_up="mousemove 0 0 sleep 0.5 mousemove 400 300" \
        measure "quorzane, every rule" "$scenario" quorzane run_guarded "$animation"
    measure "quorzane, continuous" "$scenario" quorzane run_continuously "$animation"
    measure "naive Qt tray" "$scenario" naive_tray "$naive" "$animation"
    measure "pointer poll (Xlib)" "$scenario" - "$floor"
done
echo "Goals at rest, animation off: <= 1 wake-up/s, <= 0.02 s/min for the program and for X + tray."
echo "Goals at rest, animation on: <= 11 wake-ups/s, <= 0.15 s/min (program), <= 0.10 s/min (X + tray)."
echo "Moving: no more than ticking continuously. Anonymous memory <= 4 MB."
