#!/usr/bin/env bash
# The arguments that Qt would read change nothing: with "-platform offscreen
# -reverse" the icon still goes into the tray and the options dialog is laid
# out left to right, exactly as without them. The X11 platform is chosen for
# the program alone: the commands it starts see the user's QT_QPA_PLATFORM.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host
write_settings "EVENT1=sh -c \"echo \${QT_QPA_PLATFORM-none} >>$MARKS/platform\""

# Starts the program with the arguments given, shows its options dialog,
# takes its picture into $E2E_TMP/options-$1.png, makes pattern 1 and ends it.
run() {
    local name=$1 dialog
    shift
    start_quorzane "$@"
    click_window "$(tray_icon_window)" 1
    wait_until "visible_window 'Quorzane! v1.0 - Options'" 10 || fail "$name: a click on the icon opened no options dialog"
    dialog=$(visible_window 'Quorzane! v1.0 - Options')
    sleep 0.3
    import -window "$dialog" "$E2E_TMP/options-$name.png"
    shake 1
    wait_until "[ -s '$MARKS/platform' ]" 5 || fail "$name: pattern 1 started nothing"
    stop_quorzane
    [ "$QUORZANE_STATUS" = 0 ] || fail "$name: the program ended with status $QUORZANE_STATUS"
}

unset QT_QPA_PLATFORM
run plain
[ "$(cat "$MARKS/platform")" = none ] || fail "without QT_QPA_PLATFORM the command saw '$(cat "$MARKS/platform")'"

rm -f "$MARKS/platform"
QT_QPA_PLATFORM=offscreen run qt -platform offscreen -reverse -style fusion
[ "$(cat "$MARKS/platform")" = offscreen ] || fail "the command saw QT_QPA_PLATFORM='$(cat "$MARKS/platform")', not the user's 'offscreen'"
compare -metric AE "$E2E_TMP/options-plain.png" "$E2E_TMP/options-qt.png" null: 2>"$E2E_TMP/difference" ||
    fail "with Qt's arguments the options dialog looks different (differing pixels: $(cat "$E2E_TMP/difference"))"
echo PASS
