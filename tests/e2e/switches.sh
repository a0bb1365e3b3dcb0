#!/usr/bin/env bash
# A switched-off pattern starts nothing while the others still work; with
# detection switched off as a whole, nothing starts at all. On the options
# dialog's Advanced page, Add takes the program of the window clicked next
# (the tray host's) into the list of programs that OK saves; Escape ends such
# a pick without taking anything.
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
printf '[GUARDS]\nNotInListedPrograms=1\n' >>"$SETTINGS_FILE"
start_quorzane
shake 2
shake 8
# A start would have happened within the tick that saw the pattern.
sleep 1
[ -z "$(marks)" ] || fail "with detection off the marks are '$(marks)'"
tray_icon_window >/dev/null || fail "the program is gone"

OPTIONS_TITLE="Quorzane! v1.0 - Options"
click_icon 1
wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "a click on the icon opened no options dialog"
options=$(visible_window "$OPTIONS_TITLE")
# Add's first entry, on the fourth page, starts a pick; the menu closes first.
pick_with_add() {
    xdotool windowfocus --sync "$options" key alt+d
    wait_until "[ -n \"\$(popup_windows)\" ]" 10 || fail "Add offered no menu"
    xdotool key c
    wait_until "[ -z \"\$(popup_windows)\" ]" 10 || fail "Add's menu did not close"
    sleep 0.3
}
xdotool windowfocus --sync "$options" key ctrl+Tab ctrl+Tab ctrl+Tab
pick_with_add
click_window "$(xdotool search --onlyvisible --class '^trayer$' | head -n1)" 1
# Escape ends the next pick: the click after it reaches the dialog itself.
pick_with_add
xdotool key Escape
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$options")"
click_at $((X + 200)) $((Y + 300)) 1
xdotool windowfocus --sync "$options" key alt+o
wait_until "! visible_window '$OPTIONS_TITLE'" 10 || fail "OK did not close the options dialog"
guards=$(sed -n '/^\[GUARDS\]/,$p' "$SETTINGS_FILE")
grep -qx "ListedPrograms=trayer" <<<"$guards" || fail "the picked program was not saved: $guards"
grep -qx "NotInListedPrograms=1" <<<"$guards" || fail "the list's rule was not kept: $guards"
echo "PASS"
