#!/usr/bin/env bash
# A desktop without a tray: a few seconds after the start the program says
# once, as a desktop notice (to a real notification server) and on standard
# error, how to reach it; starting it again opens its options dialog, and
# once more leaves that one dialog; closed and started again, it opens again;
# its Exit ends the program. With a tray from the start nothing is said, and
# a second start still opens the options. The program ends cleanly and
# leaves no process behind.
source "$(dirname "$0")/lib.sh"
for tool in dunst dunstctl dbus-monitor; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

OPTIONS_TITLE="Quorzane! v1.0 - Options"
NOTICE="Quorzane is running, but this desktop shows no tray icon. Start Quorzane again to open its options."
TRAY_WAIT=5 # seconds, as the program waits for a tray
LOG=$E2E_TMP/quorzane.log
NOTIFY_LOG=$E2E_TMP/notify.log

# The program's processes of this test, whichever copy: others may run on
# the machine.
our_copies() {
    local exe=$(readlink -f "$QUORZANE") process
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/exe" 2>/dev/null)" = "$exe" ] &&
            tr '\0' '\n' <"$process/environ" 2>/dev/null | grep -qx "XDG_CONFIG_HOME=$XDG_CONFIG_HOME" &&
            echo "${process#/proc/}"
    done
    return 0
}

notices_sent() { grep -c 'member=Notify$' "$NOTIFY_LOG" || true; }
notices_said() { grep -cxF "$NOTICE" "$LOG" || true; }
options_windows() { xdotool search --onlyvisible --name "^$OPTIONS_TITLE\$" 2>/dev/null | wc -l; }

# Starts another copy and waits for it: it must end by itself, with status 0,
# saying nothing, and the running copy must then show its options dialog.
start_again_shows_options() {
    local what=$1 status=0
    timeout 10 "$QUORZANE" >"$E2E_TMP/again.log" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "$what: the copy started again ended with status $status"
    [ ! -s "$E2E_TMP/again.log" ] || fail "$what: the copy started again said: $(cat "$E2E_TMP/again.log")"
    wait_until "visible_window '$OPTIONS_TITLE'" 10 || fail "$what: starting again opened no options dialog"
    xdotool search --onlyvisible --pid "$QUORZANE_PID" --name "^$OPTIONS_TITLE\$" >/dev/null ||
        fail "$what: the options dialog is not the running copy's"
    [ "$(options_windows)" -eq 1 ] || fail "$what: $(options_windows) options dialogs"
    kill -0 "$QUORZANE_PID" || fail "$what: the running copy has gone"
}

ends_cleanly() {
    local what=$1
    [ "$QUORZANE_STATUS" -eq 0 ] || fail "$what: the program ended with status $QUORZANE_STATUS"
    [ -z "$(our_copies)" ] || fail "$what: processes left behind: $(our_copies)"
}

start_display
start_session_bus
dunst >"$E2E_TMP/dunst.log" 2>&1 &
started_pids+=($!)
wait_until "dunstctl is-paused" 10 || fail "the notification server did not start"
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
    >"$NOTIFY_LOG" 2>&1 &
started_pids+=($!)
wait_until "[ -s '$NOTIFY_LOG' ]" 10 || fail "dbus-monitor did not start"
write_settings

# No tray: nothing at once, then the notice, once.
launch_quorzane
started=$SECONDS
sleep $((TRAY_WAIT - 2))
[ "$(notices_sent)" -eq 0 ] && [ "$(notices_said)" -eq 0 ] || fail "the notice came before the tray had time to appear"
wait_until '[ "$(notices_sent)" -ge 1 ]' 10 || fail "no desktop notice within $((SECONDS - started)) s"
grep -qF "string \"$NOTICE\"" "$NOTIFY_LOG" || fail "the notice's text is not \"$NOTICE\": $(cat "$NOTIFY_LOG")"
grep -qF 'string "Quorzane"' "$NOTIFY_LOG" || fail "the notice is not titled Quorzane"
wait_until '[ "$(dunstctl count history) $(dunstctl count displayed)" != "0 0" ]' 5 ||
    fail "the notification server did not show the notice"
[ "$(notices_said)" -eq 1 ] || fail "the notice is on standard error $(notices_said) times"
[ -z "$(quorzane_windows)" ] || fail "windows on screen before anyone asked: $(quorzane_windows)"

start_again_shows_options "second start"
start_again_shows_options "third start, the dialog open"

# Closed, the dialog comes back at the next start.
xdotool windowfocus --sync "$(visible_window "$OPTIONS_TITLE")" key alt+c
wait_until "! visible_window '$OPTIONS_TITLE'" 10 || fail "Cancel did not close the options dialog"
start_again_shows_options "start after the dialog was closed"

# Said once only, however long it runs.
sleep 1
[ "$(notices_sent)" -eq 1 ] || fail "$(notices_sent) desktop notices"
[ "$(notices_said)" -eq 1 ] || fail "the notice is on standard error $(notices_said) times"

# The dialog's Exit ends the program.
xdotool windowfocus --sync "$(visible_window "$OPTIONS_TITLE")" key alt+e
wait_until "visible_window Exit" 10 || fail "Exit asked nothing"
xdotool windowfocus --sync "$(visible_window Exit)" key alt+y
wait_until "! kill -0 $QUORZANE_PID" 10 || fail "Yes did not end the program"
QUORZANE_STATUS=0
wait "$QUORZANE_PID" || QUORZANE_STATUS=$?
ends_cleanly "without a tray"

# A tray from the start: nothing said, and a second start still opens the
# options.
start_tray_host
: >"$LOG"
start_quorzane
sleep $((TRAY_WAIT + 2))
[ "$(notices_sent)" -eq 1 ] || fail "with a tray, a desktop notice was sent"
[ "$(notices_said)" -eq 0 ] || fail "with a tray, the notice is on standard error"
start_again_shows_options "with a tray, second start"
stop_quorzane TERM
ends_cleanly "with a tray"
echo "PASS"
