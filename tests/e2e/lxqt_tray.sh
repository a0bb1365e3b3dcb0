#!/usr/bin/env bash
# A real D-Bus tray: LXQt's panel with only its status-notifier area,
# started after the program as at login. The icon appears in the panel; a
# left click opens the options dialog; a right click opens the panel's menu
# of the program's six entries (exported over D-Bus) and no second menu;
# its exit entry asks the exit question. The panel reads every frame of the
# animation without an error to log.
source "$(dirname "$0")/lib.sh"
command -v lxqt-panel >/dev/null || fail "lxqt-panel is missing (scripts/install-deps installs it)"

start_display
start_session_bus
write_settings
mkdir -p "$XDG_CONFIG_HOME/lxqt"
# Only the status-notifier area, at the bottom of the screen.
cp "$(dirname "$0")/lxqt_panel.conf" "$XDG_CONFIG_HOME/lxqt/panel.conf"
launch_quorzane
sleep 1.5
lxqt-panel >"$E2E_TMP/panel.log" 2>&1 &
started_pids+=($!)

registered_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems
}
wait_until "registered_items | grep -q StatusNotifierItem" 20 || fail "the program's item did not reach the panel"

# The panel's first button, on the left of the bottom edge, shows the eyes
# (white and blue pixels) once it has read the icon.
ICON_X=15 ICON_Y=$((SCREEN_HEIGHT - 16))
icon_shown() {
    import -window root -crop 32x32+0+$((SCREEN_HEIGHT - 32)) +repage "$E2E_TMP/icon.png" &&
        [ "$(convert "$E2E_TMP/icon.png" -fill black +opaque white -format '%[fx:mean>0.05]' info:)" = 1 ]
}
wait_until icon_shown 10 || fail "the panel shows no icon"

click_at "$ICON_X" "$ICON_Y" 1
wait_until "visible_window 'Quorzane! v1.0 - Options'" 10 || fail "a left click opened no options dialog"

click_at "$ICON_X" "$ICON_Y" 3
wait_until "[ -n \"\$(popup_windows)\" ]" 10 || fail "a right click opened no menu"
sleep 0.5
[ "$(popup_windows | wc -l)" -eq 1 ] || fail "a right click opened $(popup_windows | wc -l) menus"
menu=$(popup_windows)
eval "$(xdotool getwindowgeometry --shell "$menu")"
# Six entries; the exit entry is the last, just above the menu's bottom.
click_at $((X + WIDTH / 2)) $((Y + HEIGHT - 12)) 1
wait_until "visible_window Exit" 10 || fail "the menu's exit entry asked nothing"
if grep -m1 "Error on DBus request" "$E2E_TMP/panel.log"; then fail "the panel could not read the item"; fi
xdotool windowfocus "$(visible_window Exit)" key y
wait_until "! kill -0 $QUORZANE_PID" 10 || fail "the program did not end after Yes"
wait "$QUORZANE_PID" || fail "the program ended with status $?"
echo "PASS"
