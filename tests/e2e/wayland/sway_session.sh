#!/usr/bin/env bash
# The program in a sway session, on sway's XWayland, the pointer moved by
# sway's own input: it says once that it sees only the corners, a rest on
# each corner pixel starts that corner's command, a shake starts nothing,
# and it ends as usual.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/sway.sh"

NOTICE="Quorzane sees the mouse pointer only on the four corner pixels of this desktop"
start_sway "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
export XDG_SESSION_TYPE=wayland
write_settings
launch_quorzane
wait_until "grep -q '$NOTICE' '$E2E_TMP/quorzane.log'" 10 || fail "no notice of the corners: $(cat "$E2E_TMP/quorzane.log")"

for pattern in 5 6 7 8; do
    shake "$pattern"
    wait_until "[ -s '$MARKS/ev$pattern' ]" 5 || fail "a rest on corner $pattern started nothing; marks: $(marks)"
done
shake 1
sleep 0.5
[ "$(marks)" = "ev5:1 ev6:1 ev7:1 ev8:1" ] || fail "the patterns started $(marks)"

stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(grep -c "$NOTICE" "$E2E_TMP/quorzane.log")" = 1 ] || fail "the notice was not said exactly once"
echo "PASS"
