#!/usr/bin/env bash
# The program in a session of xsm, a real XSMP session manager, which starts
# it and is driven through its own buttons: a checkpoint saves and the
# program runs on; a shutdown with the options dialog open asks the exit
# question, and No cancels it with the program still running; a shutdown
# then saves and ends the program with status 0.
source "$(dirname "$0")/lib.sh"
for tool in xsm iceauth; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

start_display
start_tray_host
write_settings "TimesInProgram=10"
STATUS_FILE=$E2E_TMP/status
# xsm starts the clients of a new session from this file.
echo "sh -c '\"$QUORZANE\" >>\"$E2E_TMP/quorzane.log\" 2>&1; echo \$? >\"$STATUS_FILE\"'" >"$HOME/.xsmstartup"
xsm >>"$E2E_TMP/xsm.log" 2>&1 &
started_pids+=($!)
wait_until "tray_icon_window" 20 || fail "xsm did not start the program: $(cat "$E2E_TMP/xsm.log")"
# The program is the child of the shell line above, which names this test's files.
QUORZANE_PID=$(pgrep -x quorzane -P "$(pgrep -d, -f "$STATUS_FILE")") || fail "the program's process was not found"

# xsm's main window sits at the top left: Checkpoint and the Shutdown menu.
checkpoint_dialog() {
    pointer mousemove 40 37 click 1
    wait_until "visible_window 'Checkpoint'" 10 || fail "xsm opened no checkpoint dialog"
    # A first save needs a session name.
    pointer mousemove 175 115 click 1
    xdotool type qztest
}
shutdown_with_checkpoint() {
    pointer mousemove 120 38
    xdotool mousedown 1
    sleep 0.5
    pointer mousemove 130 57
    xdotool mouseup 1
    wait_until "visible_window 'Shutdown'" 10 || fail "xsm opened no shutdown dialog"
    pointer mousemove 58 210 click 1
}
running() { kill -0 "$QUORZANE_PID" 2>/dev/null; }

checkpoint_dialog
pointer mousemove 65 210 click 1
wait_until "[ \"\$(setting TimesInProgram)\" = 11 ]" 10 ||
    fail "checkpoint: TimesInProgram is '$(setting TimesInProgram)', not 11"
sleep 0.5
running && tray_icon_window >/dev/null || fail "checkpoint: the program or its icon went"

OPTIONS_TITLE="Quorzane! v1.0 - Options"
click_icon 1
wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "the options dialog did not open"
shutdown_with_checkpoint
wait_until "visible_window Exit" 10 || fail "shutdown with the options dialog open: no exit question"
xdotool windowfocus --sync "$(visible_window Exit)" key alt+n
wait_until "! visible_window Exit" 10 || fail "the exit question stayed"
sleep 1
running && tray_icon_window >/dev/null && visible_window "$OPTIONS_TITLE" >/dev/null ||
    fail "cancelled shutdown: the program, its icon or its dialog went"
xdotool windowfocus --sync "$(visible_window "$OPTIONS_TITLE")" key alt+c
wait_until "! visible_window '$OPTIONS_TITLE'" 10 || fail "the options dialog did not close"

write_settings "TimesInProgram=99"
shutdown_with_checkpoint
wait_until "[ -s '$STATUS_FILE' ]" 10 || fail "shutdown: the program did not end"
[ "$(cat "$STATUS_FILE")" = 0 ] || fail "shutdown: the program ended with status $(cat "$STATUS_FILE")"
[ "$(setting TimesInProgram)" = 11 ] || fail "shutdown: TimesInProgram is '$(setting TimesInProgram)', not 11"
! tray_icon_window >/dev/null || fail "shutdown: the icon stayed in the tray"
echo "PASS"
