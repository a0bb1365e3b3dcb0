#!/usr/bin/env bash
# What the animated icon costs on a D-Bus tray: LXQt's panel with only its
# status-notifier area, on a private Xvfb and session bus. The program sits
# at rest with the animation off and then on; for each: CPU seconds per
# minute of the program, of the panel, of the bus daemon and of Xvfb, the
# panel's log in bytes per minute, and the bus traffic in kilobytes per minute.
#
#   bench/sni_tray_cost.sh [program]          (default: build/quorzane)
#   SECONDS_PER_RUN=20 bench/sni_tray_cost.sh (shorter runs, default 60)
set -euo pipefail

quorzane=${1:-$(dirname "$0")/../build/quorzane}
seconds=${SECONDS_PER_RUN:-60}
settle=3
[ -x "$quorzane" ] || { echo "missing $quorzane: build it first" >&2; exit 1; }
command -v lxqt-panel >/dev/null || { echo "lxqt-panel is missing (scripts/install-deps installs it)" >&2; exit 1; }

source "$(dirname "$0")/lib.sh"
bench_workdir sni-cost

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
unset SESSION_MANAGER QUORZANE_TICK_CONTINUOUSLY
mkdir -p "$HOME" "$XDG_CONFIG_HOME/quorzane" "$XDG_CONFIG_HOME/lxqt" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The panel of the end-to-end test: only its status-notifier area.
cp "$(dirname "$0")/../tests/e2e/lxqt_panel.conf" "$XDG_CONFIG_HOME/lxqt/panel.conf"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
pids+=("$xvfb")
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>/dev/null &
bus=$!
pids+=("$bus")
for _ in $(seq 100); do [ -s "$work/display" ] && [ -s "$work/bus" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display") DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
lxqt-panel >"$work/panel.log" 2>&1 &
panel=$!
pids+=("$panel")
sleep 2

hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
per_minute() { awk -v n="$1" -v hz="$hz" -v t="$seconds" 'BEGIN { printf "%.3f", n / hz * 60 / t }'; }

measure() {
    local state=$1 animation=$2
    printf '[OPTIONS]\nTaskBarAnimation=%s\nTimesInProgram=1\n' "$animation" >"$XDG_CONFIG_HOME/quorzane/QRVN.INI"
    "$quorzane" >"$work/output" 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep "$settle"
    local own=$(cpu_ticks "$pid") host=$(cpu_ticks "$panel") daemon=$(cpu_ticks "$bus") server=$(cpu_ticks "$xvfb")
    local logged=$(stat -c %s "$work/panel.log")
    # Every message on the bus, as dbus-monitor records them.
    dbus-monitor --pcap >"$work/bus.pcap" 2>/dev/null &
    local monitor=$!
    pids+=("$monitor")
    sleep "$seconds"
    kill "$monitor"
    wait "$monitor" 2>/dev/null || true
    own=$(($(cpu_ticks "$pid") - own))
    host=$(($(cpu_ticks "$panel") - host))
    daemon=$(($(cpu_ticks "$bus") - daemon))
    server=$(($(cpu_ticks "$xvfb") - server))
    logged=$(($(stat -c %s "$work/panel.log") - logged))
    local traffic=$(stat -c %s "$work/bus.pcap")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    sleep 1
    printf '%-9s %8s %8s %8s %8s %9.0f %10s\n' "$state" "$(per_minute "$own")" "$(per_minute "$host")" \
        "$(per_minute "$daemon")" "$(per_minute "$server")" "$(awk -v b="$logged" -v t="$seconds" 'BEGIN { print b * 60 / t }')" \
        "$(awk -v b="$traffic" -v t="$seconds" 'BEGIN { printf "%.1f", b * 60 / t / 1024 }')"
}

echo "D-Bus tray cost of $quorzane over $seconds s per run ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-9s %8s %8s %8s %8s %9s %10s\n' state "s/min" "panel" "bus" "Xvfb" "log B/min" "bus KB/min"
measure rest-off 0
measure rest-on 1
