# Shared helpers of the end-to-end tests: a private X server with a tray
# host, the real program with its own home, gestures made through XTest, and
# marker files written by the commands that the patterns start.
# Source this file; it cleans up everything it started when the test exits.
#
# Needs QUORZANE (the program under test) and POINTER_PATH (the XTest pointer
# tool); TOOLTIP_REFERENCE is needed only by the tool-tip check.

set -euo pipefail

QUORZANE=${QUORZANE:?QUORZANE must name the program under test}
POINTER_PATH=${POINTER_PATH:?POINTER_PATH must name the XTest pointer tool}
for tool in Xvfb trayer xdotool xwininfo xprop import compare dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)" >&2; exit 1; }
done

E2E_TMP=$(mktemp -d /tmp/quorzane-e2e.XXXXXX)
export HOME=$E2E_TMP/home
export XDG_CONFIG_HOME=$E2E_TMP/config
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
# No desktop session around the program: no session bus (so the icon goes to
# the XEmbed tray host), no session manager.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_TMP/no-session-bus
unset SESSION_MANAGER DESKTOP_SESSION XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME
mkdir -p "$HOME" "$XDG_CONFIG_HOME/quorzane" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS_FILE=$XDG_CONFIG_HOME/quorzane/QRVN.INI
MARKS=$E2E_TMP/marks
mkdir -p "$MARKS"

SCREEN_WIDTH=800
SCREEN_HEIGHT=600
# The corner rest that the settings of these tests ask for (ms): six ticks.
CORNER_WAIT=300

started_pids=()
TRAY_HOST_PID=

cleanup() {
    local pid
    for pid in "${started_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${started_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    # A dead child stays a zombie until waited for: look at its state.
    if [ -n "$TRAY_HOST_PID" ]; then
        case $(awk '{ print $3 }' "/proc/$TRAY_HOST_PID/stat" 2>/dev/null) in
        Z | X | "") echo "(the tray host has ended)" >&2 ;;
        esac
    fi
    if [ -s "$E2E_TMP/quorzane.log" ]; then
        echo "--- the program's output:" >&2
        cat "$E2E_TMP/quorzane.log" >&2
    fi
    exit 1
}

# Waits up to $2 seconds (default 5) for the shell command $1 to succeed.
wait_until() {
    local condition=$1 seconds=${2:-5} tries
    tries=$((seconds * 20))
    while ! eval "$condition" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

# A private X server; the display number is the first free one. Xvfb resets
# whenever its last client goes, which would refuse a tray host starting
# while a probe of the test's disconnects; a test of the program's own
# start on such a server sets RESETTING_DISPLAY=1.
start_display() {
    local numberFile=$E2E_TMP/display reset=(-noreset)
    [ "${RESETTING_DISPLAY:-0}" = 1 ] && reset=()
    # The server's own fonts only: the core fonts that a package brings along
    # (a window manager's image library pulls in Type1 fonts) would change
    # the size of xsm's and xmessage's windows, where tests click.
    Xvfb -displayfd 3 "${reset[@]}" -screen 0 "${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24" -nolisten tcp -fp built-ins \
        3>"$numberFile" 2>/dev/null &
    DISPLAY_PID=$!
    started_pids+=($!)
    wait_until "[ -s '$numberFile' ]" 20 || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$numberFile")
}

# Xorg on its dummy driver instead of Xvfb, for tests of several monitors:
# its outputs DUMMY0, DUMMY1, ... are real RandR outputs, which xrandr adds
# and removes as monitors are plugged in and out. One monitor of
# SCREEN_WIDTH x SCREEN_HEIGHT at first, on a screen that may grow to $1 x $2.
# It runs as root here; without input devices of its own (XTest has them).
start_dummy_display() {
    local maxWidth=$1 maxHeight=$2 numberFile=$E2E_TMP/display config=$E2E_TMP/xorg.conf
    command -v Xorg >/dev/null || fail "Xorg is missing (scripts/install-deps installs it)"
    cat >"$config" <<CONFIG
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 64000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $maxWidth $maxHeight
    EndSubSection
EndSection
CONFIG
    mkdir -p "$E2E_TMP/xorg.conf.d"
    Xorg -displayfd 3 -config "$config" -configdir "$E2E_TMP/xorg.conf.d" -noreset -nolisten tcp -novtswitch \
        -sharevts -logfile "$E2E_TMP/xorg.log" 3>"$numberFile" >/dev/null 2>&1 &
    DISPLAY_PID=$!
    started_pids+=($!)
    wait_until "[ -s '$numberFile' ]" 20 || fail "Xorg did not start: $(grep -s '(EE)' "$E2E_TMP/xorg.log" | head -n3)"
    export DISPLAY=:$(head -n1 "$numberFile")
    xrandr --fb "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" --output DUMMY0 --mode "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" --pos 0x0 \
        --primary || fail "the dummy screen did not take ${SCREEN_WIDTH}x${SCREEN_HEIGHT}"
}

start_tray_host() {
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true >/dev/null 2>&1 &
    TRAY_HOST_PID=$!
    started_pids+=("$TRAY_HOST_PID")
    wait_until "xdotool search --onlyvisible --class '^trayer$'" 20 || fail "the tray host did not start"
}

# The command of a pattern that appends a line to the marker file $1, so that
# the tests can count the starts.
mark_command() {
    echo "sh -c \"echo >>$MARKS/$1\""
}

# The marker files and their line counts, as "ev1:1 ev3:2"; empty for none.
marks() {
    local file found=()
    for file in "$MARKS"/*; do
        [ -e "$file" ] && found+=("$(basename "$file"):$(wc -l <"$file")")
    done
    echo "${found[*]:-}"
}

# Writes the settings file: the caller's lines for the OPTIONS section, then,
# for each key the caller did not give, a command that marks "evN" for each
# pattern, a corner rest of CORNER_WAIT ms and a start count of 5.
write_settings() {
    local line n
    local -A given=()
    for line in "$@"; do
        given[${line%%=*}]=1
    done
    {
        echo "[OPTIONS]"
        [ $# -eq 0 ] || printf '%s\n' "$@"
        for n in 1 2 3 4 5 6 7 8; do
            [ -n "${given[EVENT$n]:-}" ] || echo "EVENT$n=$(mark_command "ev$n")"
        done
        [ -n "${given[CornerWaitTime]:-}" ] || echo "CornerWaitTime=$CORNER_WAIT"
        [ -n "${given[TimesInProgram]:-}" ] || echo "TimesInProgram=5"
    } >"$SETTINGS_FILE"
}

# The value of `key` in the settings file.
setting() {
    sed -n "s/^$1=//p" "$SETTINGS_FILE"
}

QUORZANE_PID=
QUORZANE_STATUS=
# Starts the program with the arguments given (its output goes to a file, as
# does that of the programs it starts) and waits until its icon is in the tray.
start_quorzane() {
    launch_quorzane "$@"
    wait_until "tray_icon_window" 20 || fail "no tray icon appeared"
}

# Starts the program without waiting for anything.
launch_quorzane() {
    "$QUORZANE" "$@" >>"$E2E_TMP/quorzane.log" 2>&1 &
    QUORZANE_PID=$!
    started_pids+=("$QUORZANE_PID")
}

# A session bus of the test's own, for the D-Bus trays.
start_session_bus() {
    local addressFile=$E2E_TMP/bus
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$addressFile" 2>/dev/null &
    started_pids+=($!)
    wait_until "[ -s '$addressFile' ]" 10 || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$addressFile")
}

# Prints the viewable popup windows (menus, tool tips) on the display, one
# per line: those that the window manager is to leave alone. Menus name no
# process, so they cannot be found by their program.
popup_windows() {
    local window
    for window in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        xwininfo -id "$window" 2>/dev/null |
            awk '/Map State: IsViewable/ { viewable = 1 } /Override Redirect State: yes/ { popup = 1 }
                 END { exit !(viewable && popup) }' && echo "$window"
    done
    return 0
}

# Prints the window that the tray host embeds for our icon.
tray_icon_window() {
    local tray
    for tray in $(xdotool search --class '^trayer$' 2>/dev/null); do
        xwininfo -tree -id "$tray" 2>/dev/null |
            awk '/\("quorzane" "Quorzane"\)/ { print $1; found = 1; exit } END { exit !found }' && return 0
    done
    return 1
}

# Prints the program's viewable windows, tray icon included, one per line.
quorzane_windows() {
    {
        xdotool search --onlyvisible --pid "$QUORZANE_PID" 2>/dev/null || true
        xdotool search --onlyvisible --classname '^quorzane$' 2>/dev/null || true
    } | sort -u | while read -r window; do printf '0x%x\n' "$window"; done
}

# Prints the viewable window titled exactly $1; fails when there is none.
visible_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .
}

# Clicks button $1 on the middle of the icon's own window.
click_icon() {
    click_window "$(tray_icon_window)" "$1"
}

# Opens the popup menu and chooses its last item, Exit.
choose_exit() {
    click_icon 3
    sleep 0.5
    xdotool key Up Return
}

# Ends the program with a signal and waits for it; its exit status goes to
# QUORZANE_STATUS. Call it in the shell that started the program, not in
# $(...): only that shell can wait for it.
stop_quorzane() {
    local signal=${1:-TERM}
    [ "$(awk '{ print $4 }' "/proc/$QUORZANE_PID/stat")" = "$BASHPID" ] ||
        fail "stop_quorzane must run in the shell that started the program"
    kill -s "$signal" "$QUORZANE_PID"
    QUORZANE_STATUS=0
    wait "$QUORZANE_PID" || QUORZANE_STATUS=$?
}

# Moves the pointer as a mouse does (XTest device motion, not a warp), with
# pointer_path's words: mousemove X Y, sleep SECONDS, click BUTTON.
pointer() {
    "$POINTER_PATH" "$@" || fail "pointer_path $* failed"
}

# Clicks button $3 at (x, y) = ($1, $2).
click_at() {
    pointer mousemove "$1" "$2" click "$3"
}

# Clicks button $2 on the middle of window $1.
click_window() {
    local X Y WIDTH HEIGHT SCREEN WINDOW geometry
    geometry=$(xdotool getwindowgeometry --shell "$1") || fail "window $1 went away"
    eval "$geometry"
    click_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) "$2"
}

# Gestures. The program samples the cursor every 50 ms and a shake must fit
# in its last ten samples (450 ms), starting from where the cursor rested.
# So a shake starts after a rest of 600 ms, and each of its three positions
# is held for 120 ms: at least two samples even when a tick comes late, and
# the whole shake within about 300 ms. One pointer_path process makes the
# whole gesture, since starting one takes longer than a tick.
REST_X=400
REST_Y=300
rest_then() {
    pointer mousemove "$REST_X" "$REST_Y" sleep 0.6 "$@" sleep 0.3 mousemove "$REST_X" "$REST_Y" sleep 0.1
}

# A horizontal (x) or vertical (y) shake through three positions.
gesture() {
    local axis=$1 value moves=()
    shift
    for value in "$@"; do
        if [ "$axis" = x ]; then
            moves+=(mousemove "$value" "$REST_Y" sleep 0.12)
        else
            moves+=(mousemove "$REST_X" "$value" sleep 0.12)
        fi
    done
    rest_then "${moves[@]}"
}

# A rest on the corner pixel (x, y), long enough for CORNER_WAIT with room
# for late ticks.
corner_rest() {
    rest_then mousemove "$1" "$2" sleep 1.0
}

# Makes pattern $1 (1..8) with the default distance of 150 pixels.
shake() {
    local right=$((SCREEN_WIDTH - 1)) bottom=$((SCREEN_HEIGHT - 1))
    case $1 in
    1) gesture x 200 600 200 ;;
    2) gesture x 600 200 600 ;;
    3) gesture y 100 500 100 ;;
    4) gesture y 500 100 500 ;;
    5) corner_rest 0 0 ;;
    6) corner_rest 0 "$bottom" ;;
    7) corner_rest "$right" 0 ;;
    8) corner_rest "$right" "$bottom" ;;
    *) fail "no pattern $1" ;;
    esac
}
