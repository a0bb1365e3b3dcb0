#!/usr/bin/env bash
# The help file beside the program: the first start opens its welcome topic
# beside a whole icon that opens the options, later starts do not, the options dialog opens it with F1, and a missing
# help file is reported by the help viewer.
source "$(dirname "$0")/lib.sh"

HELP_TITLE="Quorzane! Help"

open_options_from_icon() {
    eval "$(xdotool getwindowgeometry --shell "$(tray_icon_window)")"
    click_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) 1
    wait_until "visible_window 'Quorzane! v1.0 - Options'" 10 || fail "the options dialog did not open"
}

start_display
start_tray_host

# The very first start: no settings file yet.
[ -f "$(dirname "$QUORZANE")/QRVN.HLP" ] || fail "no help file beside the program"
rm -f "$SETTINGS_FILE"
start_quorzane
wait_until "visible_window '$HELP_TITLE'" 10 || fail "the first start showed no help"
# The help tells the new user to click the icon, which is whole and answers.
icon_width() { xdotool getwindowgeometry --shell "$(tray_icon_window)" | sed -n 's/^WIDTH=//p'; }
wait_until '[ "$(icon_width)" -ge 22 ]' 5 || fail "the first start's icon is $(icon_width) pixels wide"
open_options_from_icon
stop_quorzane TERM
[ "$QUORZANE_STATUS" -eq 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(setting TimesInProgram)" = 1 ] || fail "TimesInProgram is '$(setting TimesInProgram)' after the first start"

# The next start shows none, until the user asks for it with F1.
start_quorzane
sleep 1
! visible_window "$HELP_TITLE" >/dev/null || fail "a later start showed the help"
open_options_from_icon
xdotool key F1
wait_until "visible_window '$HELP_TITLE'" 10 || fail "F1 in the options dialog showed no help"
stop_quorzane TERM

# A copy of the program without its help file beside it.
mkdir "$E2E_TMP/bare"
cp "$QUORZANE" "$E2E_TMP/bare/quorzane"
QUORZANE=$E2E_TMP/bare/quorzane
rm -f "$SETTINGS_FILE"
start_quorzane
wait_until "visible_window Help" 10 || fail "the missing help file was not reported"
sleep 1
! visible_window "$HELP_TITLE" >/dev/null || fail "the help viewer opened without its file"
stop_quorzane TERM
[ "$QUORZANE_STATUS" -eq 0 ] || fail "the program ended with status $QUORZANE_STATUS"
echo "PASS"
