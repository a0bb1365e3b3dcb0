#!/usr/bin/env bash
# A pattern whose command is "?" opens the chooser, which lists the other
# commands; OK starts the selected one and hides the chooser.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host
write_settings "EVENT1=?" "EVENT2=$(mark_command chosen)" "EVENT3=" "EVENT4=$(mark_command other)" \
    "EVENT5=" "EVENT6=" "EVENT7=" "EVENT8="
start_quorzane

shake 1
wait_until "visible_window Applications" 10 || fail "the chooser did not appear"
[ -z "$(marks)" ] || fail "the chooser request started '$(marks)'"
chooser=$(visible_window Applications)
geometry=$(xdotool getwindowgeometry --shell "$chooser") || fail "the chooser went away"
eval "$geometry"
[ "$WIDTH" = 450 ] && [ "$HEIGHT" = 248 ] || fail "the chooser is ${WIDTH}x$HEIGHT, not 450x248"

# OK, at (374, 214) in the chooser, 68 x 25: the first entry is selected.
click_at $((X + 374 + 34)) $((Y + 214 + 12)) 1
wait_until "[ \"\$(marks)\" = 'chosen:1' ]" 5 || fail "OK started '$(marks)', not the first entry"
wait_until "! visible_window Applications" 5 || fail "the chooser stayed open after OK"
echo "PASS"
