#!/usr/bin/env bash
# The icon stays alive while a box is open: with the "Application Error" box
# or an exit question open, a left click on the icon opens the options dialog
# and the popup menu opens and works; Exit from it asks again, nested, and a
# Yes ends the program in order.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host
write_settings "EVENT2=no-such-program-for-quorzane --now"
start_quorzane
icon=$(tray_icon_window)
OPTIONS_TITLE="Quorzane! v1.0 - Options"

# Clicks button $1 on the middle of the icon's own window.
click_icon() {
    click_window "$icon" "$1"
}

# Opens the popup menu and chooses its last item, Exit.
choose_exit() {
    click_icon 3
    sleep 0.5
    xdotool key Up Return
}

# Without a window manager the keyboard goes where it is sent.
close_options() {
    xdotool windowfocus --sync "$(visible_window "$OPTIONS_TITLE")" key alt+c
    wait_until "! visible_window '$OPTIONS_TITLE'" 10 || fail "the options dialog did not close"
}

exit_questions() {
    xdotool search --onlyvisible --name '^Exit$' 2>/dev/null | wc -l
}

shake 2
wait_until "visible_window 'Application Error'" 10 || fail "no Application Error box appeared"

click_icon 1
wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "with the error box open, a click on the icon opened no options dialog"
close_options

choose_exit
wait_until "[ \$(exit_questions) = 1 ]" 10 || fail "with the error box open, Exit from the menu asked nothing"
choose_exit
wait_until "[ \$(exit_questions) = 2 ]" 10 || fail "with an exit question open, Exit did not ask again (questions: $(exit_questions))"
click_icon 1
wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "with two exit questions open, a click on the icon opened no options dialog"
close_options

# Yes on the inner question ends the program in order.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Exit$' | tail -n1)" key alt+y
QUORZANE_STATUS=0
wait_until "! kill -0 $QUORZANE_PID" 10 || fail "Yes on the nested exit question did not end the program"
wait "$QUORZANE_PID" || QUORZANE_STATUS=$?
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(setting TimesInProgram)" = 6 ] || fail "TimesInProgram is '$(setting TimesInProgram)' after the exit"
echo "PASS"
