# shellcheck shell=bash
# Headless KWin with XWayland, for the tests and benches of the Plasma bridge.
# Source this file, then:
#
#   start_kwin W H        starts KWin on a virtual W x H screen, in a session
#                         of its own, and takes that session's environment:
#                         WAYLAND_DISPLAY, DISPLAY (XWayland),
#                         DBUS_SESSION_BUS_ADDRESS and XDG_RUNTIME_DIR are
#                         exported, KWIN_PID is KWin's process
#   stop_kwin             ends the session, and KWin with it
#   bus_name_owner NAME   the unique name that owns NAME on the session bus
#   kwin_script_loaded P  "true" or "false": KWin has a script of plugin P
#
# This machine refuses to execute kwin_wayland, which carries a file
# capability, and KWin loads its platform plugin only when it runs as
# /usr/bin/kwin_wayland: so, as root, a plain copy (a copy carries no
# capability) is bind-mounted there in a private mount namespace. Fake input
# is open to every client (KWIN_WAYLAND_NO_PERMISSION_CHECKS=1), for
# kwin_pointer. KWin gets a home, configuration and runtime folder of its own.
#
# Source tests/e2e/lib.sh first: this uses its wait_until, fail, started_pids
# and clean-up.

set -euo pipefail

KWIN_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
KWIN_TMP=$(mktemp -d /tmp/quorzane-kwin.XXXXXX)
KWIN_LAUNCHER_PID=
KWIN_PID=

declare -F wait_until >/dev/null || { echo "FAIL: source tests/e2e/lib.sh before kwin.sh" >&2; exit 1; }
trap 'stop_kwin; remove_kwin_tmp; cleanup' EXIT

# KWIN_KEEP=1 keeps the logs and KWin's folders, for a look after a failure.
remove_kwin_tmp() {
    if [ "${KWIN_KEEP:-0}" = 1 ]; then
        echo "KWin's folders and the logs stay in $KWIN_TMP" >&2
    else
        rm -rf "$KWIN_TMP"
    fi
}

# Whether process $1 runs: a child that has ended stays a zombie until it is
# waited for, and kill -0 still finds it.
process_running() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
    case $state in
    "" | Z | X) return 1 ;;
    esac
}

kwin_log_tail() {
    tail -n 5 "$KWIN_TMP/kwin.log" 2>/dev/null || true
}

start_kwin() {
    local width=$1 height=$2 tool
    [ "$(id -u)" = 0 ] || fail "headless KWin needs root here, for its private mount namespace"
    for tool in kwin_wayland Xwayland unshare dbus-run-session dbus-send; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
    done
    mkdir -p "$KWIN_TMP/runtime" "$KWIN_TMP/home" "$KWIN_TMP/config"
    chmod 700 "$KWIN_TMP/runtime"
    cp /usr/bin/kwin_wayland "$KWIN_TMP/kwin_wayland"
    # A second session in one test starts afresh.
    rm -f "$KWIN_TMP/end" "$KWIN_TMP/env"
    mkfifo "$KWIN_TMP/end"
    # Nothing of the test's own session reaches KWin.
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    env -i PATH="$PATH" HOME="$KWIN_TMP/home" XDG_CONFIG_HOME="$KWIN_TMP/config" \
        XDG_RUNTIME_DIR="$KWIN_TMP/runtime" KWIN_SESSION_ENV="$KWIN_TMP/env" KWIN_SESSION_END="$KWIN_TMP/end" \
        KWIN_SESSION_SECONDS="${KWIN_SESSION_SECONDS:-900}" \
        unshare -m -- sh -c 'mount --bind "$0" /usr/bin/kwin_wayland && exec "$@"' "$KWIN_TMP/kwin_wayland" \
        dbus-run-session -- env KWIN_COMPOSE=Q KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
        kwin_wayland --virtual --width "$width" --height "$height" --output-count "${KWIN_OUTPUTS:-1}" --socket "quorzane-kwin-$$" \
        --no-lockscreen --no-global-shortcuts --no-kactivities --xwayland \
        --exit-with-session "$KWIN_LIB_DIR/kwin_session.sh" >"$KWIN_TMP/kwin.log" 2>&1 &
    # Not in started_pids: stop_kwin ends it, in order, and waits for it.
    KWIN_LAUNCHER_PID=$!
    wait_until "[ -s '$KWIN_TMP/env' ]" 60 || fail "KWin started no session; its log ends: $(kwin_log_tail)"
    # shellcheck source=/dev/null
    source "$KWIN_TMP/env"
    [ "$(cat "/proc/$KWIN_PID/comm" 2>/dev/null)" = kwin_wayland ] || fail "the session's parent is not KWin"
}

stop_kwin() {
    local launcher=$KWIN_LAUNCHER_PID
    [ -n "$launcher" ] || return 0
    KWIN_LAUNCHER_PID=
    # Read-write, so that the open never blocks, also when the session has gone.
    (echo end 1<>"$KWIN_TMP/end") 2>/dev/null || true
    if ! wait_until "! process_running $launcher" 20; then
        echo "KWin did not end with its session: ending it" >&2
        [ "$(cat "/proc/$KWIN_PID/comm" 2>/dev/null)" != kwin_wayland ] || kill "$KWIN_PID" 2>/dev/null || true
        wait_until "! process_running $launcher" 10 || kill "$launcher" 2>/dev/null || true
    fi
    wait "$launcher" 2>/dev/null || true
}

bus_name_owner() {
    timeout 5 dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetNameOwner "string:$1" | tr -d ' '
}

kwin_script_loaded() {
    timeout 5 dbus-send --session --print-reply=literal --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.isScriptLoaded "string:$1" | awk '{ print $2 }'
}
