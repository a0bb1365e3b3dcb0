#!/usr/bin/env bash
# A Wayland session: Weston's headless back end with XWayland and an XEmbed
# tray host on XWayland. The program takes the X11 platform whatever
# QT_QPA_PLATFORM says, says once on standard error and in a balloon from its
# icon that it sees the cursor only over X11 windows, and goes on running.
# With no X server at all it says that it needs one.
source "$(dirname "$0")/lib.sh"
for tool in weston Xwayland; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

NOTICE="Quorzane sees the mouse pointer only while it is over X11 windows"
export XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland
write_settings

# No X server: the plain message of before, and no notice.
(unset DISPLAY; export WAYLAND_DISPLAY=wayland-none; "$QUORZANE" >"$E2E_TMP/no-x.log" 2>&1) && fail "started without an X server"
[ "$(cat "$E2E_TMP/no-x.log")" = "Quorzane needs an X11 display: DISPLAY is not set" ] ||
    fail "without an X server it said: $(cat "$E2E_TMP/no-x.log")"

export WAYLAND_DISPLAY=quorzane-e2e-$$
weston --backend=headless-backend.so --xwayland --socket="$WAYLAND_DISPLAY" --width=$SCREEN_WIDTH \
    --height=$SCREEN_HEIGHT --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
started_pids+=($!)
wait_until "grep -q 'xserver listening on display' '$E2E_TMP/weston.log'" 20 || fail "Weston started no XWayland"
export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log" | head -n1)

start_tray_host
start_quorzane

# The balloon is a tool-tip window of the program near its icon.
balloon() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$QUORZANE_PID" 2>/dev/null); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP && { echo "$window"; return 0; }
    done
    return 1
}
wait_until balloon 10 || fail "no balloon came from the icon"
wait_until "grep -q '$NOTICE' '$E2E_TMP/quorzane.log'" 5 || fail "no notice on standard error"
sleep 1
kill -0 "$QUORZANE_PID" || fail "the program ended"
tray_icon_window >/dev/null || fail "the icon left the tray"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the program ended with status $QUORZANE_STATUS"
[ "$(grep -c "$NOTICE" "$E2E_TMP/quorzane.log")" = 1 ] || fail "the notice was not said exactly once"
others=$(grep -i wayland "$E2E_TMP/quorzane.log" | grep -v "$NOTICE" || true)
[ -z "$others" ] || fail "Qt tried Wayland: $others"
echo "PASS"
