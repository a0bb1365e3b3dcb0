#!/usr/bin/env bash
# The program as a client of a real XSMP session manager (libSM's manager
# side): a checkpoint saves and the program runs on; a logout cancelled after
# the save, or at the request to ask the user, and a second save while one is
# open leave icon and detection working and the program ready for the next
# save; logout and die save and end with status 0, also when die comes
# instead of the turn to ask; a manager that vanishes leaves the program
# running.
source "$(dirname "$0")/lib.sh"
SESSION_MANAGER_TOOL=${SESSION_MANAGER_TOOL:?SESSION_MANAGER_TOOL must name the test session manager}

start_display
start_tray_host

# Starts a manager that reads its commands from a pipe kept open on fd 7.
start_manager() {
    rm -f "$E2E_TMP/sm.in" "$E2E_TMP/sm.log"
    mkfifo "$E2E_TMP/sm.in"
    "$SESSION_MANAGER_TOOL" <"$E2E_TMP/sm.in" >"$E2E_TMP/sm.log" 2>&1 &
    MANAGER_PID=$!
    started_pids+=("$MANAGER_PID")
    exec 7>"$E2E_TMP/sm.in"
    wait_until "grep -q '^SESSION_MANAGER=' '$E2E_TMP/sm.log'" 10 || fail "the session manager did not start"
    export SESSION_MANAGER=$(sed -n 's/^SESSION_MANAGER=//p' "$E2E_TMP/sm.log")
}
# Sends command $1 and waits until the manager has printed line $2 once
# more than before.
manager_says() {
    local wanted=$(($(grep -cx "$2" "$E2E_TMP/sm.log") + 1))
    echo "$1" >&7
    wait_until "[ \$(grep -cx '$2' '$E2E_TMP/sm.log') -ge $wanted ]" 10 ||
        fail "after $1 no '$2'; the manager printed: $(tr '\n' '|' <"$E2E_TMP/sm.log")"
}
running() { kill -0 "$QUORZANE_PID" 2>/dev/null; }
detects() {
    shake 1
    wait_until "[ -s '$MARKS/ev1' ]" 5 || fail "$1: detection stopped"
    rm -f "$MARKS/ev1"
}

start_manager
write_settings "TimesInProgram=10"
start_quorzane
wait_until "grep -qx 'properties 6' '$E2E_TMP/sm.log'" 10 || fail "the program did not register with the manager"

manager_says checkpoint "save-done success=1"
[ "$(setting TimesInProgram)" = 11 ] || fail "checkpoint: TimesInProgram is '$(setting TimesInProgram)', not 11"
running && tray_icon_window >/dev/null || fail "checkpoint: the program or its icon went"
detects checkpoint

# Every road through a save ends with the program ready for the next one;
# a second save while one is open takes one answer for both.
manager_says cancel-at-request "save-done success=1"
manager_says resave-at-request "save-done success=1"
[ "$(setting TimesInProgram)" = 11 ] || fail "cancelled save: TimesInProgram is '$(setting TimesInProgram)', not 11"
running && tray_icon_window >/dev/null || fail "cancelled save: the program or its icon went"
detects "cancelled save"

manager_says logout-cancel "cancelled"
grep -qx "interact-done cancel=0" "$E2E_TMP/sm.log" || fail "logout-cancel: the program did not take its turn to ask"
sleep 0.5
running && tray_icon_window >/dev/null || fail "cancelled logout: the program or its icon went"
detects "cancelled logout"

manager_says logout "save-done success=1"
wait "$QUORZANE_PID" && status=0 || status=$?
grep -qx closed "$E2E_TMP/sm.log" || fail "logout: the program did not close its connection"
[ "$status" = 0 ] || fail "logout: the program ended with status $status"
! tray_icon_window >/dev/null || fail "logout: the icon stayed in the tray"

# Die instead of the turn to ask: the program saves and ends.
start_manager
write_settings "TimesInProgram=30"
start_quorzane
wait_until "grep -qx 'properties 6' '$E2E_TMP/sm.log'" 10 || fail "the program did not register with the manager"
echo die-at-request >&7
wait "$QUORZANE_PID" && status=0 || status=$?
[ "$status" = 0 ] && [ "$(setting TimesInProgram)" = 31 ] ||
    fail "die at the request: status $status, TimesInProgram '$(setting TimesInProgram)'"
echo vanish >&7
wait "$MANAGER_PID" || true

# The manager goes away; the program keeps everything it had.
start_manager
write_settings "TimesInProgram=20"
start_quorzane
wait_until "grep -qx 'properties 6' '$E2E_TMP/sm.log'" 10 || fail "the program did not register with the second manager"
echo vanish >&7
wait "$MANAGER_PID" || true
sleep 0.5
running && tray_icon_window >/dev/null || fail "the program or its icon went with the manager"
detects "manager gone"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] && [ "$(setting TimesInProgram)" = 21 ] ||
    fail "manager gone: status $QUORZANE_STATUS, TimesInProgram '$(setting TimesInProgram)'"
# The managers never refused a message of the program.
! grep -q "could not be read" "$E2E_TMP/quorzane.log" || fail "a manager refused a message: $(cat "$E2E_TMP/quorzane.log")"
echo "PASS"
