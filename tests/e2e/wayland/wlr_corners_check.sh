#!/usr/bin/env bash
# The corner surfaces of wlroots desktops, watched on their own (corner_watch)
# on a headless sway with the pointer moved by sway's own input:
# - each corner pixel is reported with its number, and its leave, and the
#   pixels next to the corners are not;
# - a click on a corner pixel reaches no window below, where a click beside
#   it does;
# - the corners follow the output at the origin when outputs come and move;
# - nothing runs while the pointer is elsewhere, nor after sway has gone,
#   which is reported once; the watch then still ends cleanly;
# - where there is no layer shell (Weston) or no Wayland display, the start
#   says why.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/sway.sh"
CORNER_WATCH=${CORNER_WATCH:?CORNER_WATCH must name the corner watch tool}
command -v weston >/dev/null || fail "weston is missing (scripts/install-deps installs it)"

WATCH_LOG=$E2E_TMP/watch.log
WATCH_PID=

# The watch's lines after the first $1 (default all), joined by commas.
watch_lines() {
    tail -n +$((${1:-0} + 1)) "$WATCH_LOG" | paste -sd, -
}

placements() {
    grep -c '^placed$' "$WATCH_LOG" || true
}

start_watch() {
    "$CORNER_WATCH" >"$WATCH_LOG" 2>&1 &
    WATCH_PID=$!
    started_pids+=("$WATCH_PID")
    wait_until "[ \$(placements) -ge 1 ]" 10 || fail "the corners were not placed: $(watch_lines)"
}

# The processor time that process $1 has used so far, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Fails unless process $1 uses (nearly) no processor time for a second.
expect_idle() {
    local before
    before=$(cpu_ticks "$1")
    sleep 1
    [ $(($(cpu_ticks "$1") - before)) -le 2 ] || fail "$2: the watch used the processor"
}

# Checks that the watch reported exactly the lines $2 (comma-separated)
# after its first $1 lines.
expect_lines() {
    local seen
    wait_until "[ \"\$(watch_lines $1)\" = '$2' ]" 3 || true
    seen=$(watch_lines "$1")
    [ "$seen" = "$2" ] || fail "expected the watch to say '$2', it said '$seen' (in all: $(watch_lines))"
}

start_sway 800 600

# An X11 window that fills the output, corners included, and logs its clicks.
xev -event button >"$E2E_TMP/xev.log" 2>&1 &
started_pids+=($!)
wait_until "xdotool search --onlyvisible --name '^Event Tester\$'" 10 || fail "xev's window did not appear"

start_watch
expect_idle "$WATCH_PID" "at rest"

# Each corner, entered and left; a click in the middle, on the upper-left
# and on the lower-right pixel; then the pixels beside the corners.
pointer mousemove 400 300 sleep 0.2 click 1 sleep 0.2 \
    mousemove 0 0 sleep 0.2 click 1 sleep 0.2 mousemove 400 300 sleep 0.2 \
    mousemove 0 599 sleep 0.2 mousemove 400 300 sleep 0.2 \
    mousemove 799 0 sleep 0.2 mousemove 400 300 sleep 0.2 \
    mousemove 799 599 sleep 0.2 click 3 sleep 0.2 mousemove 400 300 sleep 0.2 \
    mousemove 1 1 sleep 0.2 mousemove 0 1 sleep 0.2 mousemove 1 0 sleep 0.2 \
    mousemove 798 598 sleep 0.2 mousemove 799 598 sleep 0.2 mousemove 400 300 sleep 0.2
expect_lines 0 "placed,enter 5,leave,enter 6,leave,enter 7,leave,enter 8,leave"
presses=$(grep -c '^ButtonPress' "$E2E_TMP/xev.log" || true)
[ "$presses" = 1 ] || fail "the window below got $presses clicks, not only the one beside the corners"

# A second output, to the right: the corners stay where they are.
sway_command create_output
sway_command output HEADLESS-2 resolution 640x480 position 800 0
sway_extent 1440 600
sleep 0.5
[ "$(placements)" = 1 ] || fail "the corners moved for an output that is not at the origin"
lines=$(wc -l <"$WATCH_LOG")
pointer mousemove 1439 479 sleep 0.2 mousemove 0 599 sleep 0.2 mousemove 400 300 sleep 0.2
expect_lines "$lines" "enter 6,leave"

# It moves to the origin: the corners go with it.
sway_command output HEADLESS-1 position 640 0
sway_command output HEADLESS-2 position 0 0
wait_until "[ \$(placements) -ge 2 ]" 5 || fail "the corners did not follow the output at the origin"
lines=$(wc -l <"$WATCH_LOG")
pointer mousemove 0 0 sleep 0.2 mousemove 300 200 sleep 0.2 mousemove 639 479 sleep 0.2 \
    mousemove 300 200 sleep 0.2 mousemove 1439 599 sleep 0.2 mousemove 300 200 sleep 0.2
expect_lines "$lines" "enter 5,leave,enter 8,leave"

# It moves back, the pointer on one of its corners: left, and the corners
# come back to the first output. (Headless outputs cannot be disabled in
# this sway, so none goes away.)
# The seat's pointer lasts as long as the virtual pointer: the tool rests
# there meanwhile.
lines=$(wc -l <"$WATCH_LOG")
"$WLR_POINTER" "${SWAY_EXTENT[@]}" mousemove 0 479 sleep 3 &
resting=$!
started_pids+=("$resting")
wait_until "[ \"\$(watch_lines $lines)\" = 'enter 6' ]" 5 || fail "the corner was not entered: $(watch_lines)"
sway_command output HEADLESS-2 position 800 0
sway_command output HEADLESS-1 position 0 0
wait_until "[ \$(placements) -ge 3 ]" 5 || fail "the corners did not come back to the first output"
wait_until "process_ended $resting" 5 || fail "the resting pointer did not end"
wait "$resting" || fail "the resting pointer failed"
pointer mousemove 400 300 sleep 0.2 mousemove 799 0 sleep 0.2 mousemove 400 300 sleep 0.2
expect_lines "$lines" "enter 6,leave,placed,enter 7,leave"

# sway goes: said once, then nothing runs, and the watch still ends well.
lines=$(wc -l <"$WATCH_LOG")
stop_sway
wait_until "grep -q '^lost: ' '$WATCH_LOG'" 5 || fail "the watch did not notice that sway went"
expect_lines "$lines" "lost: the compositor closed the connection"
expect_idle "$WATCH_PID" "after the loss"
kill -TERM "$WATCH_PID"
status=0
wait "$WATCH_PID" || status=$?
[ "$status" = 0 ] || fail "the watch ended with status $status after the loss"

# No layer shell, no display: the start says why.
export WAYLAND_DISPLAY=quorzane-weston-$$
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
started_pids+=($!)
wait_until "[ -S '$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY' ]" 20 || fail "Weston did not start"
status=0
said=$("$CORNER_WATCH" 2>&1) || status=$?
[ "$status" = 3 ] && [ "$said" = "unavailable: the compositor offers no wlr-layer-shell" ] ||
    fail "on Weston the watch ended with $status and said: $said"
status=0
said=$(unset WAYLAND_DISPLAY; "$CORNER_WATCH" 2>&1) || status=$?
[ "$status" = 3 ] && [ "$said" = "unavailable: WAYLAND_DISPLAY is not set" ] ||
    fail "without a display the watch ended with $status and said: $said"
echo "PASS"
