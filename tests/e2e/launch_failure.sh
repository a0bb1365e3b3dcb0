#!/usr/bin/env bash
# A command that cannot be started is reported in an "Application Error" box;
# detection goes on while the box is open, and the program still ends in
# order.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host
write_settings "EVENT2=no-such-program-for-quorzane --now"
start_quorzane

shake 2
wait_until "visible_window 'Application Error'" 10 || fail "no Application Error box appeared"

shake 1
wait_until "[ \"\$(marks)\" = 'ev1:1' ]" 5 || fail "with the box open the marks are '$(marks)', not 'ev1:1'"
visible_window 'Application Error' >/dev/null || fail "the box went away by itself"

stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(setting TimesInProgram)" = 6 ] || fail "TimesInProgram is '$(setting TimesInProgram)' after the exit"
echo "PASS"
