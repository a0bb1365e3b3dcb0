#!/usr/bin/env bash
# The GNOME Shell extension end to end, in the real shell, with a stand-in
# for the program (moved_log) that owns its bus name and logs each report:
# what the program's view of the extension says in each case (not GNOME,
# off, off and locked, on, unknown to the shell, failed), that turning it
# off and on and a receiver that goes and comes back work, and the reports
# themselves while the pointer makes a shake and rests on each corner. The
# pointer moves through Mutter's own input injection (gnome_pointer).
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/gnome.sh"
GNOME_POINTER=${GNOME_POINTER:?GNOME_POINTER must name the GNOME pointer tool}
MOVED_LOG=${MOVED_LOG:?MOVED_LOG must name the stand-in receiver}
GNOME_EXTENSION_TOOL=${GNOME_EXTENSION_TOOL:?GNOME_EXTENSION_TOOL must name the extension tool}

WIDTH=800
HEIGHT=600
RIGHT=$((WIDTH - 1))
BOTTOM=$((HEIGHT - 1))
REPORTS=$E2E_TMP/reports
PATH_LOG=$E2E_TMP/path

extension_state() {
    "$GNOME_EXTENSION_TOOL" state
}

expect_state() {
    wait_until "[ \"\$(extension_state)\" = '$1' ]" "${2:-5}" || fail "the extension is '$(extension_state)', not '$1'"
}

report_count() {
    wc -l <"$REPORTS"
}

RECEIVER_PID=
start_receiver() {
    : >"$REPORTS"
    "$MOVED_LOG" >>"$REPORTS" 2>"$E2E_TMP/receiver.err" &
    RECEIVER_PID=$!
    started_pids+=("$RECEIVER_PID")
    wait_until "grep -q ready '$E2E_TMP/receiver.err'" 5 || fail "the receiver did not start"
}

stop_receiver() {
    kill "$RECEIVER_PID"
    wait "$RECEIVER_PID" 2>/dev/null || true
}

# Moves the pointer along the path given (gnome_pointer's points), logging
# its motion events.
move() {
    "$GNOME_POINTER" "$@" >"$PATH_LOG" || gnome_fail "gnome_pointer $* failed"
}

# A short stroke across the middle, for the cases where only whether reports
# come matters.
stroke() {
    move 0:300,300 200:500,300 400:500,300
}

# The program's view without a shell: a session bus of the test's own.
start_session_bus
expect_state not-gnome

# Installed but not on: no reports; locked while the user has turned all
# extensions off; on once asked.
GNOME_ENABLED=()
start_gnome "$WIDTH" "$HEIGHT"
start_receiver
expect_state off
stroke
sleep 0.3
[ "$(report_count)" = 0 ] || fail "reports came from an extension that is off"
set_user_extensions() {
    timeout 5 gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Set org.gnome.Shell.Extensions UserExtensionsEnabled "<$1>" >/dev/null ||
        fail "UserExtensionsEnabled could not be set"
}
set_user_extensions false
expect_state off-locked
set_user_extensions true
expect_state off
"$GNOME_EXTENSION_TOOL" enable || fail "the shell refused to enable the extension"
expect_state running
# A receiver that is there when the extension starts hears where the
# pointer is at once.
wait_until "[ \$(report_count) -ge 1 ]" 5 || fail "no report came once the extension was on"
[ "$(tail -n1 "$REPORTS" | cut -d' ' -f2,3)" = "500 300" ] ||
    fail "the first report said $(tail -n1 "$REPORTS"), not where the pointer is (500 300)"

# The active window, and whether it is full screen, when either changes (an
# X11 window on the shell's XWayland); and the left button, as of the next
# look at the pointer.
said() {
    grep -q "^$1 " "$E2E_TMP/receiver.err"
}
xmessage -name qzprobe -title qzprobe "a window" &
probe=$!
started_pids+=("$probe")
wait_until "said 'window 0 Xmessage'" 10 || fail "the active xmessage was not said: $(cat "$E2E_TMP/receiver.err")"
wmctrl -r qzprobe -b add,fullscreen || fail "wmctrl could not make the window full screen"
wait_until "said 'window 1 Xmessage'" 5 || fail "full screen was not said: $(cat "$E2E_TMP/receiver.err")"
move 0:300,300 200:300,300:down 400:500,300 600:500,300:up 800:520,300
wait_until "said 'buttons 1' && [ \"\$(grep '^buttons' '$E2E_TMP/receiver.err' | tail -n1 | cut -d' ' -f2)\" = 0 ]" 5 ||
    fail "the button was not said as held and let go: $(grep '^buttons' "$E2E_TMP/receiver.err")"
kill "$probe"
wait_until "[ \"\$(grep '^window' '$E2E_TMP/receiver.err' | tail -n1 | cut -d' ' -f2,3)\" = '0 -' ]" 5 ||
    fail "the window's going was not said: $(grep '^window' "$E2E_TMP/receiver.err")"

# Off again: nothing runs, nothing comes; on again: it comes back.
gnome_extensions_call DisableExtension "$GNOME_UUID" >/dev/null || fail "DisableExtension failed"
expect_state off
: >"$REPORTS"
stroke
sleep 0.3
[ "$(report_count)" = 0 ] || fail "reports came after the extension was turned off"
"$GNOME_EXTENSION_TOOL" enable || fail "the shell refused to enable the extension again"
expect_state running
wait_until "[ \$(report_count) -ge 1 ]" 5 || fail "no report came once the extension was on again"

# A receiver that comes later (the program started after the shell) hears
# at once too.
stop_receiver
start_receiver
wait_until "[ \$(report_count) -ge 1 ]" 5 || fail "a new receiver heard nothing"

# The reports along a gesture: a rest, a shake of three 150-pixel legs of
# 150 ms each, a rest of 2 s, then a rest of a second on each corner.
: >"$REPORTS"
move 0:400,300 600:400,300 750:550,300 900:400,300 1050:550,300 3100:550,300 \
    3400:0,0 4400:0,0 4700:$RIGHT,0 5700:$RIGHT,0 6000:$RIGHT,$BOTTOM 7000:$RIGHT,$BOTTOM \
    7300:0,$BOTTOM 8300:0,$BOTTOM 8600:400,300
sleep 0.3
shell_owner=$(timeout 5 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetNameOwner org.gnome.Shell | sed "s/^('\(.*\)',)$/\1/")
# Rests are the gaps of more than 200 ms between motion events. Reports
# after the first motion follow the 50 ms ticks: as they arrive, a late one
# brings the next nearer, so each must be at least 30 ms after the one
# before and 95 ms after the one before that; the
# first after a rest must come within 60 ms of the motion; in a rest the
# pointer's place must be reported, within 500 ms (the shell may lag behind
# the injected motion: it redraws the top bar when the pointer comes near),
# and nothing after it. Prints the places of the rests, or the faults.
verdict=$(awk -v owner="$shell_owner" '
    FILENAME == ARGV[1] {
        if (events && $1 - eventTime[events] > 200) {
            rests++
            restStart[rests] = eventTime[events]
            restEnd[rests] = $1
            restPlace[rests] = eventX[events] " " eventY[events]
        }
        events++
        eventTime[events] = $1; eventX[events] = $2; eventY[events] = $3
        next
    }
    {
        reports++
        reportTime[reports] = $1; reportPlace[reports] = $2 " " $3
        if ($4 != owner) fault = fault " report " reports " came from " $4 ", not the shell (" owner ");"
        if ($5 != "noreply") fault = fault " report " reports " asked for a reply;"
    }
    END {
        for (r = 2; r <= reports; r++) {
            if (reportTime[r] < eventTime[1])
                continue
            if (reportTime[r] - reportTime[r - 1] < 30)
                fault = fault " reports " r - 1 " and " r " came " reportTime[r] - reportTime[r - 1] " ms apart;"
            if (r > 2 && reportTime[r] - reportTime[r - 2] < 95)
                fault = fault " reports " r - 2 " to " r " came within " reportTime[r] - reportTime[r - 2] " ms;"
        }
        for (i = 1; i <= rests; i++) {
            rested = 0; first = 0
            for (r = 1; r <= reports; r++) {
                if (reportTime[r] >= restStart[i] && reportTime[r] < restEnd[i]) {
                    if (rested)
                        fault = fault " a report " reportTime[r] - restStart[i] " ms into the rest at " restPlace[i] ";"
                    else if (reportPlace[r] == restPlace[i])
                        rested = reportTime[r]
                }
                if (!first && reportTime[r] >= restEnd[i]) first = reportTime[r]
            }
            if (!rested || rested - restStart[i] > 500)
                fault = fault " the rest at " restPlace[i] " was reported " (rested ? rested - restStart[i] " ms" : "never") " after it began;"
            if (!first || first - restEnd[i] > 60)
                fault = fault " the motion after the rest at " restPlace[i] " was reported " (first ? first - restEnd[i] " ms" : "never") " later;"
            places = places (i > 1 ? "," : "") restPlace[i]
        }
        print fault ? "FAULTS:" fault : places
    }' "$PATH_LOG" "$REPORTS")
[ "$verdict" = "400 300,550 300,0 0,$RIGHT 0,$RIGHT $BOTTOM,0 $BOTTOM" ] ||
    fail "the reports along the gesture: $verdict (reports: $(tr '\n' ';' <"$REPORTS"))"
stop_gnome

# Installed after the shell started: unknown to it.
GNOME_EXTENSIONS=()
start_gnome "$WIDTH" "$HEIGHT"
expect_state unknown
stop_gnome

# An extension that fails to load says why.
broken=$E2E_TMP/broken/$GNOME_UUID
mkdir -p "$(dirname "$broken")"
cp -r "$GNOME_EXTENSION_DIR" "$broken"
echo "throw new Error('broken on purpose');" >"$broken/pointerBridge.js"
GNOME_EXTENSIONS=("$broken")
GNOME_ENABLED=("$GNOME_UUID")
start_gnome "$WIDTH" "$HEIGHT"
expect_state "failed: broken on purpose"
stop_gnome
echo "PASS"
