#!/usr/bin/env bash
# The program in a GNOME session: the real shell, headless, with its
# XWayland, the pointer moved by Mutter's remote desktop input.
# - Its extension installed but off: the program asks once whether to turn it
#   on; on Yes it follows the pointer through it, says so once, and all eight
#   patterns start their commands, but not with the left button held nor
#   while a full-screen window is active; turned off by the user, the extension is
#   said to be gone and the program runs on; at the end its name has left the
#   bus.
# - Its extension unknown to the running shell (installed after the login):
#   the program says that a new login is needed.
# - On two monitors, the corners of every monitor are the desktop's outer ones.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/gnome.sh"
GNOME_POINTER=${GNOME_POINTER:?GNOME_POINTER must name the GNOME pointer tool}

NOTICE="Quorzane follows the mouse pointer through the GNOME Shell extension."
BOX="Quorzane on GNOME"

# lib.sh's gestures as gnome_pointer's timed points, a move taking 10 ms,
# gathered and then made by one gnome_pointer: each one starts by pushing
# the pointer into a corner, which would be a gesture of its own.
PATH_POINTS=()
PATH_TIME=0
pointer() {
    local x=${PATH_X:-0} y=${PATH_Y:-0}
    while [ $# -gt 0 ]; do
        case $1 in
        mousemove)
            x=$2 y=$3
            [ ${#PATH_POINTS[@]} = 0 ] || PATH_TIME=$((PATH_TIME + 10))
            PATH_POINTS+=("$PATH_TIME:$x,$y")
            shift 3 ;;
        sleep)
            PATH_TIME=$((PATH_TIME + $(awk -v s="$2" 'BEGIN { printf "%d", s * 1000 }')))
            PATH_POINTS+=("$PATH_TIME:$x,$y")
            shift 2 ;;
        press) PATH_POINTS[-1]+=":down"; shift 2 ;;
        release) PATH_POINTS[-1]+=":up"; shift 2 ;;
        *) fail "gnome_pointer has no word for $1" ;;
        esac
    done
    PATH_X=$x PATH_Y=$y
}
make_path() {
    "$GNOME_POINTER" "${PATH_POINTS[@]}" >/dev/null || fail "gnome_pointer failed"
    PATH_POINTS=() PATH_TIME=0
}

GNOME_ENABLED=()
start_gnome "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
write_settings
printf '[GUARDS]\nNotWhileButtonHeld=1\nNotInFullScreen=1\n' >>"$SETTINGS_FILE"
launch_quorzane
wait_until "visible_window '$BOX'" 15 || fail "the program did not ask to turn its extension on"
xdotool key --window "$(visible_window "$BOX")" --clearmodifiers alt+y
wait_until "grep -qF '$NOTICE' '$E2E_TMP/quorzane.log'" 15 || fail "no notice of the extension: $(cat "$E2E_TMP/quorzane.log")"
for pattern in 1 2 3 4 5 6 7 8; do
    shake "$pattern"
done
make_path
wait_until "[ -s '$MARKS/ev8' ]" 5 || true
[ "$(marks)" = "ev1:1 ev2:1 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1" ] || fail "the patterns started $(marks)"
# Held back: a shake made with the left button held, and one while a
# full-screen window is active; the same shake starts once that has gone.
pointer mousemove "$REST_X" "$REST_Y" press 1
shake 1
pointer release 1 sleep 0.5
make_path
xmessage -name qzprobe -title qzprobe "a window" &
probe=$!
started_pids+=("$probe")
wait_until "wmctrl -l | grep -q qzprobe" 10 || fail "the window manager did not take xmessage"
# A window mapped after the user's last key press is denied the focus: a
# click gives it.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name qzprobe | head -n1)")"
pointer mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) press 1 sleep 0.1 release 1
make_path
wmctrl -r qzprobe -b add,fullscreen || fail "wmctrl could not make the window full screen"
sleep 0.5
shake 2
make_path
sleep 0.5
[ "$(marks)" = "ev1:1 ev2:1 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1" ] || fail "held-back patterns started $(marks)"
kill "$probe"
sleep 0.5
shake 2
make_path
wait_until "[ \"\$(marks)\" = 'ev1:1 ev2:2 ev3:1 ev4:1 ev5:1 ev6:1 ev7:1 ev8:1' ]" 5 ||
    fail "after the full-screen window went the patterns started $(marks)"
# The user turns the extension off: said once, and the program runs on.
gnome_extensions_call DisableExtension "$GNOME_UUID" >/dev/null || fail "DisableExtension failed"
wait_until "grep -q 'only while it is over X11 windows' '$E2E_TMP/quorzane.log'" 5 ||
    fail "the program did not fall back: $(cat "$E2E_TMP/quorzane.log")"
grep -q "extension was turned off" "$E2E_TMP/quorzane.log" || fail "the program did not say that the extension went"
kill -0 "$QUORZANE_PID" || fail "the program ended with its extension"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(grep -cF "$NOTICE" "$E2E_TMP/quorzane.log")" = 1 ] || fail "the notice was not said exactly once"
! timeout 5 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetNameOwner org.quorzane.Quorzane >/dev/null 2>&1 ||
    fail "the program's name stayed on the bus"
stop_gnome

GNOME_EXTENSIONS=()
start_gnome "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
: >"$E2E_TMP/quorzane.log"
launch_quorzane
wait_until "grep -q 'log out and in once' '$E2E_TMP/quorzane.log'" 15 ||
    fail "no word of the login the extension needs: $(cat "$E2E_TMP/quorzane.log")"
stop_quorzane TERM
stop_gnome

# Two monitors side by side, the corners of every monitor on: the outer
# corners count, the seam between the monitors does not.
GNOME_EXTENSIONS=("$GNOME_EXTENSION_DIR")
GNOME_ENABLED=("$GNOME_UUID")
GNOME_MONITORS=2 start_gnome "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
write_settings
printf '[GUARDS]\nEveryMonitorCorners=1\n' >>"$SETTINGS_FILE"
: >"$E2E_TMP/quorzane.log"
rm -f "$MARKS"/*
launch_quorzane
wait_until "grep -qF '$NOTICE' '$E2E_TMP/quorzane.log'" 15 || fail "no notice on two monitors: $(cat "$E2E_TMP/quorzane.log")"
rest_then mousemove $((2 * SCREEN_WIDTH - 1)) $((SCREEN_HEIGHT - 1)) sleep 1.0
rest_then mousemove $((SCREEN_WIDTH - 1)) 0 sleep 1.0
make_path
wait_until "[ \"\$(marks)\" = 'ev8:1' ]" 5 || fail "on two monitors the corners started $(marks)"
stop_quorzane TERM
echo "PASS"
