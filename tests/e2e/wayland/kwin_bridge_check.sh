#!/usr/bin/env bash
# The Plasma bridge end to end, without the program: a headless KWin, a
# receiver in the program's place on KWin's session bus, the pointer script
# loaded through KWinScript as the program loads it (kwin_script_driver), the
# pointer moved by KWin's own fake input (kwin_pointer). Checks the reporting
# rule on a shake and on rests in the four corners, the unload of a copy left
# loaded by a killed program, the unload at the end, and the refusals.
#
# Needs KWIN_POINTER, POINTER_RECEIVER and KWIN_SCRIPT_DRIVER (the tools);
# skips (status 77) unless it runs as root, which KWin needs here.
# lib.sh wants the program and the X pointer tool named; neither is used here.
export QUORZANE=${QUORZANE:-unused} POINTER_PATH=${POINTER_PATH:-unused}
source "$(dirname "$0")/../lib.sh"
# shellcheck source=tests/e2e/wayland/kwin.sh
source "$(dirname "$0")/kwin.sh"

[ "$(id -u)" = 0 ] || { echo "SKIP: headless KWin needs root here"; exit 77; }
command -v kwin_wayland >/dev/null || { echo "SKIP: kwin_wayland is not installed"; exit 77; }
KWIN_POINTER=${KWIN_POINTER:?KWIN_POINTER must name the fake-input pointer tool}
POINTER_RECEIVER=${POINTER_RECEIVER:?POINTER_RECEIVER must name the stand-in receiver}
KWIN_SCRIPT_DRIVER=${KWIN_SCRIPT_DRIVER:?KWIN_SCRIPT_DRIVER must name the script loader}
SCRIPT=$(cd "$(dirname "$0")/../../.." && pwd)/resources/kwin/quorzane-pointer.js
PLUGIN=quorzane-pointer
WIDTH=800
HEIGHT=600
REST=2500 # ms: each rest, in which nothing may be reported after the final report
LOGS=$KWIN_TMP/logs
mkdir -p "$LOGS"

# Runs the driver on SCRIPT in the background; DRIVER_PID, and its output in
# driver.log.
start_driver() {
    "$KWIN_SCRIPT_DRIVER" "$1" >"$LOGS/driver.log" 2>&1 &
    DRIVER_PID=$!
    started_pids+=("$DRIVER_PID")
    wait_until "grep -q '^loaded ' '$LOGS/driver.log'" 15 || fail "the script did not load: $(cat "$LOGS/driver.log")"
}

# Moves the pointer with kwin_pointer's words; its motion log goes on
# motion.log. Each path starts with a move, to where the pointer is.
kwin_move() {
    "$KWIN_POINTER" "$@" >>"$LOGS/motion.log" || fail "kwin_pointer $* failed"
}

# The time of the last mark named $1 in the motion log.
mark_time() {
    awk -v name="$1" '$1 == "mark" && $3 == name { time = $2 } END { print time }' "$LOGS/motion.log"
}

# Checks the reports between the marks $1 and $2 against the motion that
# kwin_pointer made there. A motion is a run of motion events less than
# 200 ms apart that moved the pointer (KWin keeps it on the screen, so a move
# beyond the edge may not). The first report of a motion comes within 60 ms;
# reports are at least 45 ms apart and, while the pointer moves, at most
# 110 ms; the last one comes within 110 ms of the last motion event and
# carries where the pointer rests; then none comes while it rests.
# The receiver sees each report after the bus delivered it: on a busy machine
# a report may come late, and the next one then sooner after it. So a gap of
# less than 45 ms passes when the report before the late one came at least
# 90 ms earlier; reports sent too often, or by two copies, fail that too.
check_reports() {
    local from to verdict
    from=$(mark_time "$1")
    to=$(mark_time "$2")
    verdict=$(sort -k2,2n "$LOGS/motion.log" "$LOGS/reports.log" | awk -v from="$from" -v to="$to" \
        -v w="$WIDTH" -v h="$HEIGHT" -v kwin="$(bus_name_owner org.kde.KWin)" '
        function clamp(v, low, high) { return v < low ? low : v > high ? high : v }
        function problem(text) { print "motion " motions ": " text; bad = 1 }
        function close_motion() {
            if (motions == 0) return
            if (reports == 0) { problem("never reported"); return }
            if (last_x != rest_x || last_y != rest_y)
                problem(sprintf("rests at (%d, %d), last reported at (%d, %d)", rest_x, rest_y, last_x, last_y))
            if (last_report - last_motion > 110)
                problem(sprintf("last reported %.0f ms after it ended", last_report - last_motion))
        }
        $2 < from || $2 > to { next }
        $1 == "motion" {
            x = clamp($3, 0, w - 1); y = clamp($4, 0, h - 1)
            if (seen && x == rest_x && y == rest_y) next
            if (!seen || $2 - last_motion >= 200) {
                close_motion()
                motions++; start = $2; reports = 0
            }
            seen = 1; last_motion = $2; rest_x = x; rest_y = y
        }
        $1 == "moved" {
            total++
            if ($5 != kwin) problem("a report came from " $5 ", not from KWin (" kwin ")")
            if (motions == 0) { problem(sprintf("a report before any motion, at (%d, %d)", $3, $4)); next }
            if (reports == 0 && $2 - start > 60) problem(sprintf("first reported %.0f ms after it began", $2 - start))
            if (total > 1 && $2 - last_report < 45) {
                if (total > 2 && $2 - before_last >= 90) late++
                else problem(sprintf("reports %.1f ms apart", $2 - last_report))
            }
            if (reports > 0 && $2 - last_report > 110 && $2 - last_motion <= 110)
                problem(sprintf("no report for %.0f ms while it moved", $2 - last_report))
            if ($2 - last_motion > 110) problem(sprintf("a report at rest, %.0f ms after the motion", $2 - last_motion))
            reports++; before_last = last_report; last_report = $2; last_x = $3; last_y = $4
        }
        END {
            close_motion()
            if (motions == 0) print "no motion between the marks"
            else if (!bad) printf "ok: %d motions, %d reports, %d of them late\n", motions, total, late
        }')
    case $verdict in
    ok*) echo "$1..$2: $verdict" ;;
    *) fail "between $1 and $2:"$'\n'"$verdict" ;;
    esac
}

# Whether the receiver heard (x, y) = ($1, $2) after line $3 of its log.
reported_after() {
    tail -n +"$(($3 + 1))" "$LOGS/reports.log" | awk -v x="$1" -v y="$2" '$3 == x && $4 == y { found = 1 } END { exit !found }'
}

# Without KWin on the bus there is nothing to load and no error to tell.
status=0
timeout 20 dbus-run-session -- "$KWIN_SCRIPT_DRIVER" "$SCRIPT" >"$LOGS/no-kwin.log" 2>&1 || status=$?
[ "$status" = 3 ] || fail "without KWin the driver ended with status $status: $(cat "$LOGS/no-kwin.log")"

start_kwin "$WIDTH" "$HEIGHT"
"$POINTER_RECEIVER" >"$LOGS/reports.log" 2>&1 &
started_pids+=($!)
wait_until "grep -q '^ready' '$LOGS/reports.log'" 10 || fail "the receiver did not start: $(cat "$LOGS/reports.log")"

# A script that does not evaluate is refused, and not left loaded.
echo "this is no JavaScript (" >"$KWIN_TMP/broken.js"
status=0
timeout 20 "$KWIN_SCRIPT_DRIVER" "$KWIN_TMP/broken.js" >"$LOGS/broken.log" 2>&1 || status=$?
if [ "$status" != 1 ] || ! grep -q "stopped .*broken.js" "$LOGS/broken.log"; then
    fail "a broken script gave status $status: $(cat "$LOGS/broken.log")"
fi
[ "$(kwin_script_loaded "$PLUGIN")" = false ] || fail "the broken script stays loaded"

# Loaded, the script reports where the pointer is at once: that says it runs.
kwin_move move 400 300
start_driver "$SCRIPT"
[ "$(kwin_script_loaded "$PLUGIN")" = true ] || fail "KWin does not know the script as $PLUGIN"
wait_until "reported_after 400 300 0" 2 || fail "no report of the start position: $(cat "$LOGS/reports.log")"

# A shake (three legs of 150 px in 150 ms each, 100 motion events a second),
# then a rest in each corner, reached by a fling beyond the screen's edge.
right=$((WIDTH - 1))
bottom=$((HEIGHT - 1))
kwin_move move 400 300 wait 500 mark moves \
    glide 550 300 150 glide 400 300 150 glide 550 300 150 wait "$REST" \
    glide -40 -40 300 wait "$REST" \
    glide $((WIDTH + 40)) -40 400 wait "$REST" \
    glide -40 $((HEIGHT + 40)) 500 wait "$REST" \
    glide $((WIDTH + 40)) $((HEIGHT + 40)) 400 wait "$REST" mark rested
check_reports moves rested
for corner in "0 0" "$right 0" "0 $bottom" "$right $bottom"; do
    # shellcheck disable=SC2086
    reported_after $corner 0 || fail "the corner ($corner) was not reported"
done

# The active window, and whether it is full screen, when either changes: an
# X11 window on KWin's XWayland, made full screen and back through KWin.
window_reported() {
    grep -q "^window [0-9.]* $1 $2 " "$LOGS/reports.log"
}
DISPLAY=$DISPLAY xmessage -name qzprobe -title qzprobe "a window" &
started_pids+=($!)
wait_until "window_reported 0 xmessage" 10 || fail "the active xmessage was not reported: $(grep '^window' "$LOGS/reports.log")"
wmctrl -r qzprobe -b add,fullscreen || fail "wmctrl could not make the window full screen"
wait_until "window_reported 1 xmessage" 5 || fail "full screen was not reported: $(grep '^window' "$LOGS/reports.log")"
wmctrl -r qzprobe -b remove,fullscreen
wait_until "[ \"\$(grep '^window' '$LOGS/reports.log' | tail -n1 | cut -d' ' -f3,4)\" = '0 xmessage' ]" 5 ||
    fail "leaving full screen was not reported: $(grep '^window' "$LOGS/reports.log")"

# A program killed without unloading leaves its copy loaded; the next load
# replaces it, and only the new copy reports.
{
    kill -KILL "$DRIVER_PID"
    wait "$DRIVER_PID" || true
} 2>/dev/null
[ "$(kwin_script_loaded "$PLUGIN")" = true ] || fail "the killed driver's copy is not loaded"
start_driver "$SCRIPT"
kwin_move move "$right" "$bottom" wait 500 mark again glide 200 150 200 wait 300 glide 600 450 300 wait "$REST" mark again-rested
check_reports again again-rested

# The unload at the end: nothing reports any more.
kill -TERM "$DRIVER_PID"
status=0
wait "$DRIVER_PID" || status=$?
[ "$status" = 0 ] || fail "the driver ended with status $status: $(cat "$LOGS/driver.log")"
[ "$(kwin_script_loaded "$PLUGIN")" = false ] || fail "the script stays loaded after the unload"
lines=$(wc -l <"$LOGS/reports.log")
kwin_move move 600 450 glide 100 100 300 wait 300
[ "$(wc -l <"$LOGS/reports.log")" = "$lines" ] || fail "the unloaded script still reports"
echo "PASS"
