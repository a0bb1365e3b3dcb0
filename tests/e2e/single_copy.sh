#!/usr/bin/env bash
# Only one copy runs: a second copy ends by itself within two seconds and
# leaves the first running with its icon; a copy that was killed leaves
# nothing behind that stops the next start; of eight copies started at once,
# exactly one runs on.
source "$(dirname "$0")/lib.sh"

OPTIONS_TITLE="Quorzane! v1.0 - Options"

# Starts another copy of the program and waits until it has ended by itself,
# at most $1 seconds; fails when it is still running then.
second_copy_ends_within() {
    local seconds=$1 pid status=0
    "$QUORZANE" >>"$E2E_TMP/second.log" 2>&1 &
    pid=$!
    started_pids+=("$pid")
    wait_until "! kill -0 $pid" "$seconds" || fail "a second copy was still running after $seconds seconds"
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the second copy ended with status $status"
}

# The first copy still runs and still has its one icon, $1.
first_copy_runs_with_icon() {
    kill -0 "$QUORZANE_PID" 2>/dev/null || fail "the first copy has gone"
    [ "$(tray_icon_window)" = "$1" ] || fail "the first copy's icon has changed or gone"
    [ "$(icons_in_tray)" -eq 1 ] || fail "$(icons_in_tray) icons in the tray"
}

icons_in_tray() {
    local tray count=0
    for tray in $(xdotool search --class '^trayer$' 2>/dev/null); do
        count=$((count + $(xwininfo -tree -id "$tray" | grep -c '("quorzane" "Quorzane")' || true)))
    done
    echo "$count"
}

open_options_from_icon() {
    eval "$(xdotool getwindowgeometry --shell "$(tray_icon_window)")"
    click_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) 1
    wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "the options dialog did not open"
}

start_display
start_tray_host
write_settings

# A second copy while the first runs.
start_quorzane
icon=$(tray_icon_window)
second_copy_ends_within 2
first_copy_runs_with_icon "$icon"

# Also while the first copy shows its options dialog, which stays open.
open_options_from_icon
second_copy_ends_within 2
first_copy_runs_with_icon "$icon"
visible_window "$OPTIONS_TITLE" >/dev/null || fail "the first copy's options dialog has gone"

# A copy that was killed: the next start runs as the first copy, with the
# program's own title, and stops later copies in turn.
stop_quorzane KILL
start_quorzane
icon=$(tray_icon_window)
open_options_from_icon
second_copy_ends_within 2
first_copy_runs_with_icon "$icon"

# After a normal end, too.
stop_quorzane TERM
[ "$QUORZANE_STATUS" -eq 0 ] || fail "the program ended with status $QUORZANE_STATUS"
start_quorzane
second_copy_ends_within 2
stop_quorzane TERM

# Copies started at the same instant: each round exactly one runs on, with
# one icon, and the others end by themselves with status 0.
COPIES=8
ROUNDS=20
# The copies of this round that are still running.
running() {
    local pid alive=()
    for pid in "${pids[@]}"; do
        kill -0 "$pid" 2>/dev/null && [ "$(awk '{ print $3 }' "/proc/$pid/stat")" != Z ] && alive+=("$pid")
    done
    echo "${alive[*]:-}"
}
for round in $(seq "$ROUNDS"); do
    pids=()
    for _ in $(seq "$COPIES"); do
        "$QUORZANE" >>"$E2E_TMP/race.log" 2>&1 &
        pids+=($!)
    done
    started_pids+=("${pids[@]}")
    # Once all the others have ended, no late copy is left to take over.
    wait_until '[ "$(running | wc -w)" -le 1 ] && [ "$(icons_in_tray)" -eq 1 ]' 20 ||
        fail "round $round: $(running | wc -w) copies run, $(icons_in_tray) icons in the tray"
    survivor=$(running)
    [ "$(echo "$survivor" | wc -w)" -eq 1 ] || fail "round $round: copies left running: '$survivor'"
    [ "$(icons_in_tray)" -eq 1 ] || fail "round $round: $(icons_in_tray) icons in the tray"
    for pid in "${pids[@]}"; do
        [ "$pid" = "$survivor" ] && kill -TERM "$pid"
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq 0 ] || fail "round $round: copy $pid ended with status $status"
    done
done
echo "race: $ROUNDS rounds of $COPIES copies, one survivor each"
echo "PASS"
