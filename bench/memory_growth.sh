#!/usr/bin/env bash
# Whether the animated icon costs memory that stays: the program animates
# for some minutes on each kind of tray at once (trayer over XEmbed, LXQt's
# panel over D-Bus, each on a private Xvfb), its anonymous resident memory
# (RssAnon) is read every few seconds after a warm-up, and the growth per
# hour is the slope of a straight line fitted through those samples.
#
#   bench/memory_growth.sh [program]      (default: build/quorzane)
#   MINUTES=2 bench/memory_growth.sh      (shorter runs, default 5)
set -euo pipefail

quorzane=${1:-$(dirname "$0")/../build/quorzane}
minutes=${MINUTES:-5}
warmup=30
every=5
[ -x "$quorzane" ] || { echo "missing $quorzane: build it first" >&2; exit 1; }
for tool in Xvfb trayer lxqt-panel dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps installs it)" >&2; exit 1; }
done
panel_conf=$(dirname "$0")/../tests/e2e/lxqt_panel.conf

source "$(dirname "$0")/lib.sh"
bench_workdir memory
unset SESSION_MANAGER QUORZANE_TICK_CONTINUOUSLY DBUS_SESSION_BUS_ADDRESS

# Starts a display for tray $1 in the background; its number goes to $work/$1.display.
start_display() {
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/$1.display" 2>/dev/null &
    pids+=($!)
}

# Starts the host of tray $1 on its display, then the program, which
# animates; its process id goes to program[$1].
declare -A program
start_tray() {
    local tray=$1 home=$work/$1
    mkdir -p "$home/config/quorzane" "$home/config/lxqt" "$home/runtime"
    chmod 700 "$home/runtime"
    printf '[OPTIONS]\nTaskBarAnimation=1\nTimesInProgram=1\n' >"$home/config/quorzane/QRVN.INI"
    export DISPLAY=:$(head -n1 "$work/$tray.display") HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime
    if [ "$tray" = dbus ]; then
        cp "$panel_conf" "$home/config/lxqt/panel.conf"
        dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$home/bus" 2>/dev/null &
        pids+=($!)
        for _ in $(seq 100); do [ -s "$home/bus" ] && break; sleep 0.1; done
        export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$home/bus")
        lxqt-panel >/dev/null 2>&1 &
    else
        trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
    fi
    pids+=($!)
    sleep 2
    "$quorzane" >"$home/output" 2>&1 &
    pids+=($!)
    program[$tray]=$!
}

anonymous_kb() { awk '/^RssAnon:/ { print $2 }' "/proc/$1/status"; }

# Samples process $1 into file $2 as lines of seconds and kilobytes.
sample() {
    local pid=$1 file=$2 start=$SECONDS
    while [ $((SECONDS - start)) -le $((minutes * 60)) ]; do
        echo "$((SECONDS - start)) $(anonymous_kb "$pid")" >>"$file"
        sleep "$every"
    done
}

# First and last sample and the least-squares slope, in kilobytes an hour.
report() {
    awk -v tray="$1" '
        { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2; if (n == 1) first = $2; last = $2 }
        END {
            slope = (n * sxy - sx * sy) / (n * sxx - sx * sx)
            printf "%-7s %9d %9d %8d %12.0f\n", tray, first, last, n, slope * 3600
        }' "$2"
}

for tray in xembed dbus; do start_display "$tray"; done
for _ in $(seq 100); do [ -s "$work/xembed.display" ] && [ -s "$work/dbus.display" ] && break; sleep 0.1; done
start_tray xembed
start_tray dbus
sleep "$warmup"
sample "${program[xembed]}" "$work/xembed.samples" &
sampler=$!
sample "${program[dbus]}" "$work/dbus.samples"
wait "$sampler"

echo "Anonymous resident memory of the animating program, $minutes min after a ${warmup} s warm-up (kB)"
printf '%-7s %9s %9s %8s %12s\n' tray first last samples "growth/hour"
report xembed "$work/xembed.samples"
report dbus "$work/dbus.samples"
