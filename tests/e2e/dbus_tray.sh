#!/usr/bin/env bash
# A D-Bus tray of our own (tests/e2e/sni_host.cpp) that starts after the
# program, as a slow panel does at login: the program's item still registers
# with it, shows its title, tool tip and animated icon (one image per frame,
# and a file of each frame that the host finds by name), shows its balloon
# through the notification server, opens the options dialog on Activate and
# its popup menu on ContextMenu, and exports the menu's six entries, which
# work when the host chooses one: the pause entry's check mark follows the
# master switch, which it flips and saves. A host that restarts gets the item
# again; the frame files go with the program.
source "$(dirname "$0")/lib.sh"
SNI_HOST=${SNI_HOST:?SNI_HOST must name the test tray host}

# The program is the server's only client, as on a server started for it.
RESETTING_DISPLAY=1 start_display
start_session_bus
write_settings
# A Wayland session's notice comes as a balloon.
XDG_SESSION_TYPE=wayland launch_quorzane
# Long enough for a program that picks its kind of tray at once to pick the
# XEmbed tray that never comes.
sleep 1.5

start_host() {
    coproc HOST { "$SNI_HOST" 2>>"$E2E_TMP/host.log"; }
    started_pids+=("$HOST_PID")
    # Fixed descriptors: those of a coprocess are not open in pipelines.
    exec 7>&"${HOST[1]}" 8<&"${HOST[0]}"
    read -r -t 10 ready <&8 && [ "$ready" = ready ] || fail "the tray host did not start: $(cat "$E2E_TMP/host.log")"
}
ask() {
    echo "$*" >&7
    read -r -t 20 answer <&8 || fail "the tray host did not answer \"$*\""
    echo "$answer"
}
start_host

expect() {
    local got
    got=$(ask "$1")
    [ "$got" = "$2" ] || fail "$1: expected \"$2\", got \"$got\""
}
case $(ask item) in item\ *) ;; *) fail "the program's item did not register with a host that came later" ;; esac
expect "get Title" "Quorzane"
expect "get ToolTip" "Quorzane! v1.0"
expect "get Status" "Active"
case $(ask get IconPixmap) in 1\*32x32:*) ;; *) fail "the item's icon is not one 32 x 32 image: $(ask get IconPixmap)" ;; esac
frames=$(ask get IconThemePath)
frame=$frames/$(ask get IconName).png
[ "$(identify -format %wx%h "$frame" 2>/dev/null)" = 32x32 ] || fail "the icon's name names no 32 x 32 picture: $frame"
# The menu's entries without their ids; "_" marks the access key on D-Bus.
entries=$(ask menu | sed 's/[0-9]*://g')
[ "$entries" = "_General Options|_Sensitivity Options|_Application Options|_Pause Detection [ ]|-|_Exit Quorzane!" ] ||
    fail "the exported menu is \"$entries\""

# The pause entry, chosen in the host: the switch is saved each time, and the
# host reads the new check mark.
pause_id=$(ask menu | tr '|' '\n' | sed -n 's/:_Pause Detection \[.\]$//p')
pause_mark() { ask menu | tr '|' '\n' | sed -n 's/^[0-9]*:_Pause Detection //p'; }
# $1: the check mark the host then reads; $2: the switch saved.
choose_pause() {
    expect "click $pause_id" ok
    wait_until "[ \"\$(setting DetectMouseMoveMents)\" = $2 ]" 10 ||
        fail "the pause entry saved DetectMouseMoveMents='$(setting DetectMouseMoveMents)', not $2"
    [ "$(pause_mark)" = "$1" ] || fail "the pause entry shows \"$(pause_mark)\", not \"$1\""
}
choose_pause "[x]" 0
choose_pause "[ ]" 1

# 13 frames in 1.3 s; a tick or two may come late under load.
read -r changes _ images _ < <(ask icons 1500)
[ "$changes" -ge 10 ] && [ "$images" -ge 10 ] || fail "the icon did not animate: $changes changes, $images images"
# Shown a second after the icon, which the count above outlasts.
case $(ask balloon) in "Quorzane on Wayland|Quorzane sees the mouse pointer"*) ;; *) fail "no balloon: $(ask balloon)" ;; esac

expect activate ok
wait_until "visible_window 'Quorzane! v1.0 - Options'" 10 || fail "Activate did not open the options dialog"

# A host that asks for the menu gets the program's one popup menu.
expect context-menu ok
wait_until "[ -n \"\$(popup_windows)\" ]" 10 || fail "ContextMenu opened no menu"
[ "$(popup_windows | wc -l)" -eq 1 ] || fail "more than one menu opened"
xdotool key Escape
wait_until "[ -z \"\$(popup_windows)\" ]" 10 || fail "the menu did not close"

# A panel that restarts brings a new watcher, which gets the item again.
exec 7>&- 8<&-
kill "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
start_host
case $(ask item) in item\ *) ;; *) fail "the program's item did not come back to a restarted host" ;; esac

# The menu's exit entry, chosen in the host, asks the exit question.
exit_id=$(ask menu | tr '|' '\n' | sed -n 's/:_Exit Quorzane!$//p')
expect "click $exit_id" ok
wait_until "visible_window Exit" 10 || fail "the exported exit entry asked nothing"
xdotool windowfocus "$(visible_window Exit)" key y
wait_until "! kill -0 $QUORZANE_PID" 10 || fail "the program did not end after Yes"
wait "$QUORZANE_PID" || fail "the program ended with status $?"
[ ! -e "$frames" ] || fail "the frame files stayed behind in $frames"
echo "PASS"
