#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the program in order: exit status 0 and the
# settings saved with the start counted. A first start, without a settings
# file, writes the whole file.
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
echo "PASS"
