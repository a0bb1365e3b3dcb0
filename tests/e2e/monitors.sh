#!/usr/bin/env bash
# The corners of every monitor, on two heads of Xorg's dummy driver side by
# side (the primary on the left). Off, as by default: the primary screen's
# four corner pixels fire, the second head's far corners do not. On: each
# head's outer corners fire, the four corners along the seam do not; and
# when the second head is switched off while the program runs, the primary's
# right corners, no longer on a seam, fire.
source "$(dirname "$0")/lib.sh"

[ "$(id -u)" = 0 ] || { echo "SKIP: Xorg's dummy driver runs as root here"; exit 77; }

L=0 T=0 R=$((SCREEN_WIDTH - 1)) B=$((SCREEN_HEIGHT - 1))
FAR=$((2 * SCREEN_WIDTH - 1)) NEAR=$SCREEN_WIDTH

# Rests on each pixel "x,y" in turn and checks the marks after each rest:
# $1 is what they must be at the end; a rest that adds a mark must add the
# one that the pixel's event makes, given after the pixel as "x,y:evN".
rest_on() {
    local rest pixel event now
    for rest in "$@"; do
        pixel=${rest%%:*} event=
        [ "$pixel" = "$rest" ] || event=${rest#*:}
        now=$(marks)
        corner_rest "${pixel%,*}" "${pixel#*,}"
        if [ -n "$event" ]; then
            wait_until "[ \"\$(marks)\" != '$now' ]" 5 || fail "a rest on ($pixel) started nothing; marks '$now'"
            grep -q "$event:" <<<"$(marks)" || fail "a rest on ($pixel) did not mark $event: '$(marks)'"
        else
            sleep 0.5
            [ "$(marks)" = "$now" ] || fail "a rest on ($pixel) started something: '$(marks)', was '$now'"
        fi
    done
}

expect_marks() {
    [ "$(marks)" = "$1" ] || fail "$2: the marks are '$(marks)', not '$1'"
}

start_dummy_display $((2 * SCREEN_WIDTH)) "$SCREEN_HEIGHT"
xrandr --addmode DUMMY1 "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" &&
    xrandr --output DUMMY1 --mode "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" --right-of DUMMY0 ||
    fail "no second head"
[ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] || fail "two monitors expected: $(xrandr --listmonitors)"
start_tray_host

# Off: the primary screen's corners, the seam's included; nothing beyond.
write_settings
start_quorzane
rest_on "$FAR,$T" "$FAR,$B" "$NEAR,$T" "$NEAR,$B" \
    "$L,$T:ev5" "$L,$B:ev6" "$R,$T:ev7" "$R,$B:ev8"
expect_marks "ev5:1 ev6:1 ev7:1 ev8:1" "option off"
stop_quorzane
[ "$QUORZANE_STATUS" -eq 0 ] || fail "the program ended with status $QUORZANE_STATUS"
rm -f "$MARKS"/*

# On: the outer corners of both heads, none on the seam.
write_settings
printf '[GUARDS]\nEveryMonitorCorners=1\n' >>"$SETTINGS_FILE"
start_quorzane
rest_on "$FAR,$T:ev7" "$FAR,$B:ev8" "$L,$T:ev5" "$L,$B:ev6" \
    "$R,$T" "$R,$B" "$NEAR,$T" "$NEAR,$B"
expect_marks "ev5:1 ev6:1 ev7:1 ev8:1" "option on, two heads"

# The second head unplugged: the primary's right corners are outer corners now.
xrandr --output DUMMY1 --off || fail "the second head did not go"
wait_until "[ \"\$(xrandr --listmonitors | head -n1)\" = 'Monitors: 1' ]" 5 || fail "the second head is still there"
pointer mousemove "$REST_X" "$REST_Y" sleep 0.5
rest_on "$R,$T:ev7" "$R,$B:ev8"
expect_marks "ev5:1 ev6:1 ev7:2 ev8:2" "option on, second head gone"

kill -0 "$QUORZANE_PID" 2>/dev/null || fail "the program ended"
stop_quorzane
[ "$QUORZANE_STATUS" -eq 0 ] || fail "the program ended with status $QUORZANE_STATUS"
grep -qi "EveryMonitorCorners=1" "$SETTINGS_FILE" || fail "the option was not kept: $(cat "$SETTINGS_FILE")"
echo "PASS"
