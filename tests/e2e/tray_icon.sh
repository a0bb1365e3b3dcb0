#!/usr/bin/env bash
# The running program shows its icon in the tray, at the size the tray
# gives, with the application title as tool tip, and no other window of its
# own; a tray that restarts gets the icon again.
source "$(dirname "$0")/lib.sh"
TOOLTIP_REFERENCE=${TOOLTIP_REFERENCE:?TOOLTIP_REFERENCE must name the tool-tip reference program}

start_display
start_tray_host
write_settings
start_quorzane
icon=$(tray_icon_window)

[ "$(quorzane_windows)" = "$icon" ] || fail "windows other than the tray icon are mapped: $(quorzane_windows | tr '\n' ' ')"

# A tool tip is an override-redirect window of its own type; prints the
# first viewable one of process $1.
tooltip_of() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP && { echo "$window"; return 0; }
    done
    return 1
}

# Hovering over the icon shows the tool tip ...
geometry=$(xdotool getwindowgeometry --shell "$icon") || fail "the tray icon's window went away"
eval "$geometry"
pointer mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.1 mousemove $((X + WIDTH / 2 + 1)) $((Y + HEIGHT / 2))
wait_until "tooltip_of $QUORZANE_PID" 10 || fail "no tool tip appeared over the icon"
import -window "$(tooltip_of "$QUORZANE_PID")" "$E2E_TMP/tooltip.png"
pointer mousemove 100 500
wait_until "! tooltip_of $QUORZANE_PID" 10 || fail "the tool tip stayed after the cursor left"

# ... which reads the application title: it is drawn exactly like a tool tip
# of that text from another Qt program on this display.
"$TOOLTIP_REFERENCE" "Quorzane! v1.0" >/dev/null 2>&1 &
reference=$!
started_pids+=("$reference")
wait_until "tooltip_of $reference" 10 || fail "the reference tool tip did not appear"
import -window "$(tooltip_of "$reference")" "$E2E_TMP/reference.png"
compare -metric AE "$E2E_TMP/tooltip.png" "$E2E_TMP/reference.png" null: 2>"$E2E_TMP/difference" ||
    fail "the tool tip is not the application title (differing pixels: $(cat "$E2E_TMP/difference"))"

# Nothing else came up meanwhile.
[ "$(quorzane_windows)" = "$icon" ] || fail "windows other than the tray icon are mapped: $(quorzane_windows | tr '\n' ' ')"

# The eyes (white pixels) fill the icon's window.
eval "$(xdotool getwindowgeometry --shell "$icon")"
[ "$WIDTH" -ge 22 ] && [ "$HEIGHT" -ge 22 ] || fail "the tray gave the icon only ${WIDTH}x$HEIGHT pixels"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$E2E_TMP/icon.png"
[ "$(convert "$E2E_TMP/icon.png" -fill black +opaque white -format '%[fx:mean>0.1]' info:)" = 1 ] ||
    fail "the icon shows no eyes"

kill "$TRAY_HOST_PID"
wait "$TRAY_HOST_PID" 2>/dev/null || true
start_tray_host
wait_until tray_icon_window 10 || fail "the icon did not come back to a restarted tray"
echo "PASS"
