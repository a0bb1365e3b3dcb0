#!/usr/bin/env bash
# A switched-off pattern starts nothing while the others still work; with
# detection switched off as a whole, nothing starts at all.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host

write_settings "DetectEvent3=0" "DetectEvent5=0"
start_quorzane
shake 3
shake 5
# The pattern made after them still starts: by then the first two would have.
shake 1
wait_until "[ \"\$(marks)\" = 'ev1:1' ]" 5 || fail "with patterns 3 and 5 off the marks are '$(marks)', not 'ev1:1'"
stop_quorzane
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"

rm -f "$MARKS"/*
write_settings "DetectMouseMoveMents=0"
start_quorzane
shake 2
shake 8
# A start would have happened within the tick that saw the pattern.
sleep 1
[ -z "$(marks)" ] || fail "with detection off the marks are '$(marks)'"
tray_icon_window >/dev/null || fail "the program is gone"
echo "PASS"
