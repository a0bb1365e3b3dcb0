#!/usr/bin/env bash
# The program in a Plasma session: a headless KWin with XWayland, the program
# on it, the pointer moved by KWin's own fake input. It says once that it
# follows the pointer through the KWin script; all eight patterns start their
# commands, but none while a full-screen window is active; a script unloaded
# by the user is said when the options are next shown, and the corners stand
# in; at the end the script is unloaded and the program's name has left
# the bus; a copy of the script left loaded by a killed program is replaced;
# without its script the program falls back to the corner surfaces; on two
# outputs, the corners of every monitor are those of the desktop's edge.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/kwin.sh"
KWIN_POINTER=${KWIN_POINTER:?KWIN_POINTER must name the fake-input pointer tool}

NOTICE="Quorzane follows the mouse pointer through the KWin script."
PLUGIN=quorzane-pointer

# lib.sh's gestures, through KWin's fake input: each move is one motion.
pointer() {
    local words=()
    while [ $# -gt 0 ]; do
        case $1 in
        mousemove) words+=(move "$2" "$3"); shift 3 ;;
        sleep) words+=(wait "$(awk -v s="$2" 'BEGIN { printf "%d", s * 1000 }')"); shift 2 ;;
        *) fail "kwin_pointer has no word for $1" ;;
        esac
    done
    "$KWIN_POINTER" "${words[@]}" >/dev/null || fail "kwin_pointer ${words[*]} failed"
}

start_kwin "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
export XDG_SESSION_TYPE=wayland
write_settings
printf '[GUARDS]\nNotInFullScreen=1\n' >>"$SETTINGS_FILE"

# A program that was killed left its script loaded: the next start replaces it.
launch_quorzane
wait_until "[ \"\$(kwin_script_loaded $PLUGIN)\" = true ]" 15 || fail "the script was not loaded"
kill -KILL "$QUORZANE_PID"
wait "$QUORZANE_PID" || true
[ "$(kwin_script_loaded $PLUGIN)" = true ] || fail "the killed program's script went"

: >"$E2E_TMP/quorzane.log"
launch_quorzane
wait_until "grep -qF '$NOTICE' '$E2E_TMP/quorzane.log'" 15 || fail "no notice of the KWin script: $(cat "$E2E_TMP/quorzane.log")"
for pattern in 1 2 3 4 5 6 7 8; do
    shake "$pattern"
    wait_until "[ -s '$MARKS/ev$pattern' ]" 5 || fail "pattern $pattern started nothing; marks: $(marks)"
done
[ "$(marks)" = "ev1:1 ev2:1 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1" ] || fail "the patterns started $(marks)"
# Held back while a full-screen window is active, as the script reports it.
xmessage -name qzprobe -title qzprobe "a window" &
probe=$!
started_pids+=("$probe")
wait_until "wmctrl -l | grep -q qzprobe" 10 || fail "the window manager did not take xmessage"
wmctrl -r qzprobe -b add,fullscreen || fail "wmctrl could not make the window full screen"
sleep 0.5
shake 2
sleep 0.5
[ "$(marks)" = "ev1:1 ev2:1 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1" ] || fail "a shake in full screen started $(marks)"
wmctrl -r qzprobe -b remove,fullscreen
sleep 0.5
shake 2
wait_until "[ \"\$(marks)\" = 'ev1:1 ev2:2 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1' ]" 5 ||
    fail "after full screen the patterns started $(marks)"
kill "$probe"

# The user unloads the script while the program runs. KWin says nothing, so
# the program finds out when the user next opens its options (here by
# starting it again): it says so once, and the corners stand in.
dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript \
    "string:$PLUGIN" >/dev/null || fail "the script could not be unloaded"
"$QUORZANE" >>"$E2E_TMP/second.log" 2>&1 || fail "the second start failed: $(cat "$E2E_TMP/second.log")"
wait_until "grep -q 'the KWin script was unloaded' '$E2E_TMP/quorzane.log'" 10 ||
    fail "the unloaded script was not said: $(cat "$E2E_TMP/quorzane.log")"
wait_until "grep -q 'corner pixels' '$E2E_TMP/quorzane.log'" 10 || fail "no fall-back to the corners after the unload"
shake 8
wait_until "[ \"\$(marks)\" = 'ev1:1 ev2:2 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:2' ]" 5 ||
    fail "after the unload a corner rest started $(marks)"

stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(grep -cF "$NOTICE" "$E2E_TMP/quorzane.log")" = 1 ] || fail "the notice was not said exactly once"
[ "$(kwin_script_loaded $PLUGIN)" = false ] || fail "the script stayed loaded after the program ended"
! bus_name_owner org.quorzane.Quorzane >/dev/null 2>&1 || fail "the program's name stayed on the bus"

# A copy without its script beside it: said once, and the corners of KWin's
# layer shell stand in.
mkdir "$E2E_TMP/bare"
cp "$QUORZANE" "$E2E_TMP/bare/quorzane"
BUILT_QUORZANE=$QUORZANE
QUORZANE=$E2E_TMP/bare/quorzane
: >"$E2E_TMP/quorzane.log"
launch_quorzane
wait_until "grep -q 'corner pixels' '$E2E_TMP/quorzane.log'" 15 || fail "no fall-back to the corners: $(cat "$E2E_TMP/quorzane.log")"
grep -q "KWin did not take the script" "$E2E_TMP/quorzane.log" || fail "the missing script was not said"
shake 8
wait_until "[ \"\$(marks)\" = 'ev1:1 ev2:2 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:3' ]" 5 || fail "a corner rest on KWin's corners started $(marks)"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the copy without its script ended with status $QUORZANE_STATUS"

# Two outputs side by side, the corners of every monitor on: the outer
# corners count, the seam between the outputs does not.
stop_kwin
QUORZANE=$BUILT_QUORZANE
KWIN_OUTPUTS=2 start_kwin "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
write_settings
printf '[GUARDS]\nEveryMonitorCorners=1\n' >>"$SETTINGS_FILE"
: >"$E2E_TMP/quorzane.log"
launch_quorzane
wait_until "grep -qF '$NOTICE' '$E2E_TMP/quorzane.log'" 15 || fail "no notice on two outputs: $(cat "$E2E_TMP/quorzane.log")"
rm -f "$MARKS"/*
rest_then mousemove $((2 * SCREEN_WIDTH - 1)) $((SCREEN_HEIGHT - 1)) sleep 1.0
rest_then mousemove $((SCREEN_WIDTH - 1)) 0 sleep 1.0
wait_until "[ \"\$(marks)\" = 'ev8:1' ]" 5 || fail "on two outputs the corners started $(marks)"
stop_quorzane TERM
echo "PASS"
