#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the program in order: exit status 0 and the
# settings saved with the start counted, whenever they come: during start-up,
# twice in a row, with the options dialog or the exit question open. A first
# start, without a settings file, writes the whole file. A save that fails at
# a signal is reported on standard error and the program still ends. A lost
# display saves and ends the program with status 1.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host

for signal in TERM INT HUP; do
    write_settings "TimesInProgram=41"
    start_quorzane
    stop_quorzane "$signal"
    [ "$QUORZANE_STATUS" = 0 ] || fail "SIG$signal: the program ended with status $QUORZANE_STATUS"
    [ "$(setting TimesInProgram)" = 42 ] || fail "SIG$signal: TimesInProgram is '$(setting TimesInProgram)', not 42"
    [ "$(setting EVENT1)" = "$(mark_command ev1)" ] || fail "SIG$signal: EVENT1 changed to '$(setting EVENT1)'"
    ! tray_icon_window >/dev/null || fail "SIG$signal: the icon stayed in the tray"
done

# Ends the program with signal $1 and checks the orderly end of case $2.
expect_orderly_end() {
    stop_quorzane "$1"
    [ "$QUORZANE_STATUS" = 0 ] || fail "$2: the program ended with status $QUORZANE_STATUS"
    [ "$(setting TimesInProgram)" = 42 ] || fail "$2: TimesInProgram is '$(setting TimesInProgram)', not 42"
    ! tray_icon_window >/dev/null || fail "$2: the icon stayed in the tray"
}

for delay in 0.1 0.2 0.3; do
    write_settings "TimesInProgram=41"
    launch_quorzane
    sleep "$delay"
    expect_orderly_end TERM "SIGTERM $delay s after the start"
done

write_settings "TimesInProgram=41"
start_quorzane
kill -s TERM "$QUORZANE_PID"
expect_orderly_end TERM "two signals in a row"

write_settings "TimesInProgram=41"
start_quorzane
click_icon 1
wait_until "visible_window 'Quorzane! v1.0 - Options'" 10 || fail "the options dialog did not open"
expect_orderly_end TERM "options dialog open"

write_settings "TimesInProgram=41"
start_quorzane
choose_exit
wait_until "visible_window Exit" 10 || fail "the exit question did not open"
expect_orderly_end HUP "exit question open"

# A settings file that cannot be written: the signal still ends the program.
rm -f "$SETTINGS_FILE"
mkdir "$SETTINGS_FILE"
start_quorzane
: >"$E2E_TMP/quorzane.log"
kill -s TERM "$QUORZANE_PID"
wait_until "! kill -0 $QUORZANE_PID" 5 || fail "a failed save kept the program from ending at a signal"
grep -q "Unable to write to" "$E2E_TMP/quorzane.log" || fail "the failed save was not reported on standard error"
rmdir "$SETTINGS_FILE"

rm -f "$SETTINGS_FILE"
start_quorzane
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "first start: the program ended with status $QUORZANE_STATUS"
keys=$(sed -n 's/=.*//p' "$SETTINGS_FILE" | tr '\n' ' ')
expected="EVENT1 EVENT2 EVENT3 EVENT4 EVENT5 EVENT6 EVENT7 EVENT8 SensitivityInPixels SensitivityInTime \
CornerWaitTime TaskBarAnimation DetectMouseMoveMents DetectEvent1 DetectEvent2 DetectEvent3 DetectEvent4 \
DetectEvent5 DetectEvent6 DetectEvent7 DetectEvent8 TimesInProgram "
[ "$keys" = "$expected" ] || fail "first start: the file holds '$keys'"
[ "$(head -n1 "$SETTINGS_FILE")" = "[OPTIONS]" ] || fail "first start: no OPTIONS section first"
[ "$(setting EVENT1)" = "?" ] && [ "$(setting TimesInProgram)" = 1 ] ||
    fail "first start: EVENT1='$(setting EVENT1)' TimesInProgram='$(setting TimesInProgram)'"

# The display goes away under the program.
write_settings "TimesInProgram=4"
start_quorzane
: >"$E2E_TMP/quorzane.log"
kill "$DISPLAY_PID"
wait_until "! kill -0 $QUORZANE_PID" 1 || fail "the program outlived its display by more than a second"
wait "$QUORZANE_PID" && QUORZANE_STATUS=0 || QUORZANE_STATUS=$?
[ "$QUORZANE_STATUS" = 1 ] || fail "lost display: status $QUORZANE_STATUS, not 1"
[ "$(setting TimesInProgram)" = 5 ] || fail "lost display: TimesInProgram is '$(setting TimesInProgram)', not 5"
[ "$(grep -c . "$E2E_TMP/quorzane.log")" = 1 ] && grep -q "display was lost" "$E2E_TMP/quorzane.log" ||
    fail "lost display: standard error says '$(cat "$E2E_TMP/quorzane.log")'"
echo "PASS"
