#!/usr/bin/env bash
# The settings file as users keep it, and commands as Browse writes them: a
# file linked in from a dotfiles folder, edited in several editors (CRLF, LF
# and lone CR line ends), whose commands name a script in a folder with a
# blank, unquoted or wrapped in quotes as a whole. The commands start, the
# entries after a lone CR are seen, and the save goes through the link; after
# a restart the saved commands start again.
source "$(dirname "$0")/lib.sh"

TOOLS="$E2E_TMP/My Tools"
mkdir -p "$TOOLS" "$E2E_TMP/dotfiles"
printf '#!/bin/sh\necho "$*" >>"%s/started"\n' "$MARKS" >"$TOOLS/run me.sh"
chmod +x "$TOOLS/run me.sh"
REAL=$E2E_TMP/dotfiles/QRVN.INI
ln -s "../../dotfiles/QRVN.INI" "$SETTINGS_FILE"

# The link is there before its file: the first run saves through it.
start_display
start_tray_host
printf '%s\r\n' "[Other]" "keep=this" >"$REAL"
printf '%s\n' "[OPTIONS]" "EVENT1=$TOOLS/run me.sh unquoted --flag" >>"$REAL"
printf '%s\r' "EVENT3=\"$TOOLS/run me.sh\"" "CornerWaitTime=$CORNER_WAIT" >>"$REAL"
printf '%s\n' "TimesInProgram=5" "EVENT2=" "EVENT4=" "EVENT5=" "EVENT6=" "EVENT7=" "EVENT8=" >>"$REAL"

# The value of key $1 in the linked file, whatever its line ends.
entry() {
    tr '\r' '\n' <"$REAL" | sed -n "s/^$1=//p"
}

# Pattern 1 starts the script with two arguments, pattern 3 without any.
check_starts() {
    rm -f "$MARKS/started"
    shake 1
    wait_until "[ \"\$(wc -l <'$MARKS/started')\" = 1 ]" 5 || fail "$1: the unquoted command did not start"
    shake 3
    wait_until "[ \"\$(wc -l <'$MARKS/started')\" = 2 ]" 5 || fail "$1: the command read from quotes did not start"
    [ "$(head -n1 "$MARKS/started")" = 'unquoted --flag' ] && [ -z "$(sed -n 2p "$MARKS/started")" ] || fail "$1: the script got '$(cat "$MARKS/started")'"
}

start_quorzane
check_starts "first start"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ -L "$SETTINGS_FILE" ] || fail "the settings file is no longer a link"
[ "$(entry TimesInProgram)" = 6 ] || fail "TimesInProgram was not saved through the link: $(cat -A "$REAL")"
[ "$(entry CornerWaitTime)" = "$CORNER_WAIT" ] || fail "the corner wait after a lone CR was lost: $(cat -A "$REAL")"
[ "$(entry keep)" = this ] || fail "the foreign section was lost"
[ "$(entry EVENT3)" = "$TOOLS/run me.sh" ] || fail "EVENT3 was not saved as read: $(entry EVENT3)"
twice=$(tr '\r' '\n' <"$REAL" | sed -n 's/=.*//p' | tr 'a-z' 'A-Z' | sort | uniq -d)
[ -z "$twice" ] || fail "entries were added twice: $twice"

start_quorzane
check_starts "after a restart"
stop_quorzane TERM
[ "$(entry TimesInProgram)" = 7 ] || fail "the second save did not go through"
echo "PASS"
