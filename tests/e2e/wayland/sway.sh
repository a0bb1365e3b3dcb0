# A headless sway for the end-to-end tests of Wayland sessions. Source it
# after lib.sh; the test's clean-up ends the sway it started.
#
# sway refuses to run as root, so it runs as `nobody`, in a runtime folder of
# its own inside the test's. The tests stay root and still reach it: root may
# open the Wayland socket of another user (the socket's full path goes into
# WAYLAND_DISPLAY, whatever XDG_RUNTIME_DIR says), and sway's XWayland lets
# root in once sway's user has said so with xhost. Rendering is in software,
# and there are no input devices: the pointer is a virtual one, which
# `pointer` (lib.sh's words) makes through wlr_pointer.
#
# Needs WLR_POINTER (the virtual pointer tool).

WLR_POINTER=${WLR_POINTER:?WLR_POINTER must name the virtual pointer tool}
for tool in sway swaymsg Xwayland xhost setpriv; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

SWAY_USER=nobody
SWAY_DIR=$E2E_TMP/sway
SWAY_PID=
# The size of the whole output layout, over which the virtual pointer moves.
SWAY_EXTENT=()

# The script that sway runs once it is up, as its user: it lets root into
# XWayland (which starts it) and then writes where sway is, in one step.
write_sway_announcer() {
    cat >"$SWAY_DIR/announce" <<'EOF'
#!/bin/sh
set -e
xhost +si:localuser:root >/dev/null
printf 'WAYLAND_DISPLAY=%s\nDISPLAY=%s\nSWAYSOCK=%s\n' \
    "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" "$DISPLAY" "$SWAYSOCK" >"$XDG_RUNTIME_DIR/where.new"
mv "$XDG_RUNTIME_DIR/where.new" "$XDG_RUNTIME_DIR/where"
EOF
    chmod 755 "$SWAY_DIR/announce"
}

# A configuration of its own, nothing from the system's: one output, no
# borders (so that a window fills the output, corners included), XWayland.
write_sway_config() {
    cat >"$SWAY_DIR/config" <<EOF
output HEADLESS-1 resolution $1x$2 position 0 0
default_border none
default_floating_border none
xwayland enable
exec $SWAY_DIR/announce
EOF
}

# Starts sway with one output of $1 x $2 pixels and exports WAYLAND_DISPLAY,
# DISPLAY and SWAYSOCK for it; they are also in $SWAY_DIR/where.
start_sway() {
    # The test's folder is root's alone; sway's user must reach its own.
    chmod 711 "$E2E_TMP"
    mkdir -m 700 "$SWAY_DIR"
    write_sway_announcer
    write_sway_config "$1" "$2"
    chown -R "$SWAY_USER:" "$SWAY_DIR"
    setpriv --reuid="$SWAY_USER" --regid="$(id -g "$SWAY_USER")" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$SWAY_DIR/config" >"$E2E_TMP/sway.log" 2>&1 &
    SWAY_PID=$!
    started_pids+=("$SWAY_PID")
    wait_until "[ -s '$SWAY_DIR/where' ]" 30 || fail "sway did not start: $(tail -n 5 "$E2E_TMP/sway.log")"
    set -a
    source "$SWAY_DIR/where"
    set +a
    SWAY_EXTENT=("$1" "$2")
}

# Ends sway (and with it its XWayland) and waits until it has gone.
stop_sway() {
    [ -n "$SWAY_PID" ] || return 0
    kill "$SWAY_PID" 2>/dev/null || true
    if ! wait_until "process_ended $SWAY_PID" 10; then
        kill -KILL "$SWAY_PID" 2>/dev/null || true
    fi
    wait "$SWAY_PID" 2>/dev/null || true
    SWAY_PID=
}

# Whether process $1 has ended (or is a zombie waiting to be waited for).
process_ended() {
    case $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) in
    Z | X | "") return 0 ;;
    esac
    return 1
}

# Sends a command to sway.
sway_command() {
    swaymsg -s "$SWAYSOCK" "$@" >/dev/null || fail "swaymsg $* failed"
}

# The layout has become $1 x $2 pixels (outputs added, moved or removed).
sway_extent() {
    SWAY_EXTENT=("$1" "$2")
}

# lib.sh's pointer, through sway's own input: the same words (mousemove X Y,
# sleep SECONDS, click BUTTON), positions from the layout's top-left corner.
pointer() {
    "$WLR_POINTER" "${SWAY_EXTENT[@]}" "$@" || fail "wlr_pointer $* failed"
}
