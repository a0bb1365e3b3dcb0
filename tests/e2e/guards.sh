#!/usr/bin/env bash
# The rules against unmeant patterns under a window manager that reports the
# active window and its full-screen state (openbox): nothing starts while a
# button is held, and a corner's rest counts from the release; nothing while
# a full-screen window is active, until it leaves full screen; a listed
# program holds patterns back only while its rule is on.
source "$(dirname "$0")/lib.sh"
for tool in openbox wmctrl xmessage; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

# The tray host first, as in the other tests; openbox takes it over.
start_display
start_tray_host
openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
started_pids+=($!)
wait_until "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" 20 || fail "openbox did not start"
wait_until "xdotool search --onlyvisible --class '^trayer$'" 10 || fail "the tray host is gone under openbox"

# The window that the window manager reports as active, as 0x...; 0x0 for none.
active_window() {
    xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'
}

# Writes the settings with the GUARDS entries given. The upper left corner's
# command notes when it ran (ms), so that its rest can be timed.
write_guarded_settings() {
    write_settings "EVENT5=sh -c \"date +%s%3N >>$MARKS/ev5\""
    { echo "[GUARDS]"; printf '%s\n' "$@"; } >>"$SETTINGS_FILE"
}

# Fails unless the marks are $1 after a while in which a start would have happened.
expect_marks() {
    local expected=$1 what=$2
    wait_until "[ \"\$(marks)\" = '$expected' ]" 5 || fail "$what: the marks are '$(marks)', not '$expected'"
    sleep 0.3
    [ "$(marks)" = "$expected" ] || fail "$what: the marks are '$(marks)', not '$expected'"
}

write_guarded_settings NotWhileButtonHeld=1 NotInFullScreen=1 NotInListedPrograms=0 ListedPrograms=Xmessage
start_quorzane

# A corner rest made with button 1 held starts nothing; released in the
# corner, the rest starts anew.
pointer mousemove "$REST_X" "$REST_Y" sleep 0.6 press 1 mousemove 0 0 sleep 1.0
expect_marks "" "a corner rest with button 1 held"
pointer release 1
released=$(date +%s%3N)
expect_marks "ev5:1" "a rest after the release in the corner"
waited=$(($(cat "$MARKS/ev5") - released))
[ "$waited" -ge $((CORNER_WAIT - 50)) ] ||
    fail "the corner started $waited ms after the release, before a rest of $CORNER_WAIT ms"

# A shake with a button held starts nothing; the same shake without does.
# (Button 1: openbox opens a menu at the others' press on the desktop.)
pointer press 1
shake 1
pointer release 1
expect_marks "ev5:1" "a shake with button 1 held"
shake 1
expect_marks "ev1:1 ev5:1" "a shake after the release"

# A full-screen window holds shakes and corners back, until it leaves full
# screen; its class is listed, but that rule is off.
xmessage -center "Quorzane guard test" >/dev/null 2>&1 &
message_pid=$!
started_pids+=("$message_pid")
wait_until "xdotool search --onlyvisible --class '^Xmessage$'" 10 || fail "xmessage did not appear"
window=$(printf '0x%x' "$(xdotool search --onlyvisible --class '^Xmessage$' | head -n1)")
wait_until "[ \"\$(active_window)\" = '$window' ]" 5 || fail "xmessage is not the active window"
wmctrl -i -r "$window" -b add,fullscreen
wait_until "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN" 5 || fail "xmessage is not full screen"
shake 2
shake 8
expect_marks "ev1:1 ev5:1" "patterns over a full-screen window"
wmctrl -i -r "$window" -b remove,fullscreen
wait_until "! xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN" 5 || fail "xmessage stays full screen"
shake 2
shake 8
expect_marks "ev1:1 ev2:1 ev5:1 ev8:1" "patterns after leaving full screen, in a listed program with the rule off"
stop_quorzane
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"

# With the rule on, the listed program (named in another case) holds
# patterns back while it is active, and only then.
rm -f "$MARKS"/*
write_guarded_settings NotInListedPrograms=1 "ListedPrograms=Editor; XMESSAGE"
start_quorzane
wmctrl -i -a "$window"
wait_until "[ \"\$(active_window)\" = '$window' ]" 5 || fail "xmessage is not the active window"
shake 3
shake 6
expect_marks "" "patterns in a listed program"
# openbox goes on naming the window that went when no other takes its place.
kill "$message_pid"
wait_until "! xwininfo -id $window" 5 || fail "xmessage stays"
shake 3
shake 6
expect_marks "ev3:1 ev6:1" "patterns once the listed program has gone"
echo "PASS"
