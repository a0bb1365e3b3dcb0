# GNOME Shell for the end-to-end tests: the real shell (43 on Debian 12),
# headless on a virtual monitor, with its XWayland, in a login session of its
# own. Source it after lib.sh; it stops the shell when the test exits.
#
# Root sets the shell up in a private mount namespace: the shell needs a
# system bus, and must not see /run/systemd/seats (it would then ask logind
# for a seat), so /run/systemd and /run/dbus are covered by empty tmpfs there.
# The shell itself runs as an unprivileged user inside a session bus of its
# own, which admits root too, so that a test and the program under test run
# as root as everywhere else in these tests.
#
#   start_gnome W H   starts the shell with GNOME_MONITORS (1 unless told)
#                     W x H monitors side by side; it reads
#                     GNOME_EXTENSIONS (extension folders to install, our
#                     pointer extension unless told) and GNOME_ENABLED (the
#                     uuids turned on, ours unless told), and leaves the
#                     session's variables exported and in the file $GNOME_ENV
#   stop_gnome        stops it and all it started

GNOME_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
GNOME_UUID=pointer@quorzane.org
GNOME_EXTENSION_DIR=$GNOME_SOURCE_DIR/resources/gnome-shell/$GNOME_UUID
GNOME_EXTENSIONS=("$GNOME_EXTENSION_DIR")
GNOME_ENABLED=("$GNOME_UUID")
GNOME_USER=nobody
GNOME_PID=
GNOME_DIR=
GNOME_ENV=

for tool in gnome-shell dbus-run-session unshare setpriv gdbus; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
[ "$(id -u)" = 0 ] || fail "GNOME Shell tests run as root (a mount namespace of their own)"

trap 'stop_gnome; cleanup' EXIT

# Root's side inside the namespace: the system bus, then the session as the
# user. The shell's process id goes to $dir/shell.pid, the session bus's
# address to $dir/bus.
gnome_namespace() {
    local dir=$1 user=$2 width=$3 height=$4 enabled=$5 monitors=$6
    mount -t tmpfs tmpfs /run/systemd
    mount -t tmpfs tmpfs /run/dbus
    dbus-daemon --system --fork --print-pid=3 3>"$dir/system-bus.pid"
    # Settings first, since the shell reads its extensions at start only:
    # no welcome tour, no hot corner (the top-left corner is a pattern's),
    # no screen lock in the middle of a long test.
    exec setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" \
        XDG_DATA_DIRS="$dir/share:/usr/local/share:/usr/share" XDG_SESSION_TYPE=wayland \
        dbus-run-session --config-file="$dir/session.conf" -- bash -c '
            set -e
            echo "$DBUS_SESSION_BUS_ADDRESS" >"$1/bus"
            gsettings set org.gnome.shell enabled-extensions "$4"
            gsettings set org.gnome.shell welcome-dialog-last-shown-version 999
            gsettings set org.gnome.desktop.interface enable-hot-corners false
            gsettings set org.gnome.desktop.session idle-delay 0
            gsettings set org.gnome.desktop.screensaver lock-enabled false
            echo $$ >"$1/shell.pid"
            monitors=()
            for _ in $(seq "$5"); do monitors+=(--virtual-monitor "$2x$3"); done
            exec gnome-shell --headless "${monitors[@]}" --wayland-display="$1/runtime/wayland-gnome"
        ' gnome-session "$dir" "$width" "$height" "$enabled" "$monitors"
}

# A GVariant string list of the arguments.
gnome_string_list() {
    local uuid list=()
    for uuid in "$@"; do
        list+=("'$uuid'")
    done
    local IFS=,
    echo "[${list[*]}]"
}

start_gnome() {
    local width=$1 height=$2 extension log
    [ -z "$GNOME_PID" ] || fail "GNOME Shell is running already"
    # The user must reach its folder through the test's private one.
    chmod 711 "$E2E_TMP"
    GNOME_DIR=$(mktemp -d "$E2E_TMP/gnome.XXXXXX")
    GNOME_ENV=$GNOME_DIR/env
    log=$GNOME_DIR/shell.log
    mkdir -p "$GNOME_DIR/home" "$GNOME_DIR/runtime" "$GNOME_DIR/share/gnome-shell/extensions"
    for extension in "${GNOME_EXTENSIONS[@]}"; do
        cp -r "$extension" "$GNOME_DIR/share/gnome-shell/extensions/"
    done
    cat >"$GNOME_DIR/session.conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <policy context="default"><allow user="root"/></policy>
</busconfig>
CONF
    chown -R "$GNOME_USER:" "$GNOME_DIR"
    chmod 700 "$GNOME_DIR/runtime"

    unshare -m bash -c "$(declare -f gnome_namespace); gnome_namespace \"\$@\"" gnome-namespace \
        "$GNOME_DIR" "$GNOME_USER" "$width" "$height" "$(gnome_string_list "${GNOME_ENABLED[@]}")" \
        "${GNOME_MONITORS:-1}" >"$log" 2>&1 &
    GNOME_PID=$!
    started_pids+=("$GNOME_PID")
    wait_until "grep -q 'GNOME Shell started at' '$log'" 60 || gnome_fail "GNOME Shell did not start"

    # Outside a systemd user session Mutter starts XWayland with the shell,
    # under an authority file of its own.
    local display authority
    display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log" | head -n1)
    authority=$(find "$GNOME_DIR/runtime" -maxdepth 1 -name '.mutter-Xwaylandauth.*' | head -n1)
    [ -n "$display" ] && [ -n "$authority" ] || gnome_fail "GNOME Shell started no XWayland"
    cat >"$GNOME_ENV" <<ENV
export DBUS_SESSION_BUS_ADDRESS=$(cat "$GNOME_DIR/bus")
export WAYLAND_DISPLAY=$GNOME_DIR/runtime/wayland-gnome
export DISPLAY=$display
export XAUTHORITY=$authority
export XDG_SESSION_TYPE=wayland
export XDG_CURRENT_DESKTOP=GNOME
ENV
    source "$GNOME_ENV"
    wait_until "xwininfo -root" 10 || gnome_fail "XWayland $display does not answer"
    # The shell opens on its overview, which would cover the windows.
    timeout 5 gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null ||
        gnome_fail "the overview did not close"
    wait_until "gnome_shell_property OverviewActive | grep -q false" 5 || gnome_fail "the overview stays open"
}

# Prints the value of the shell's property $1, as gdbus does.
gnome_shell_property() {
    timeout 5 gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1"
}

# True when process $1 has ended (a child stays a zombie until waited for).
gnome_ended() {
    case $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) in
    Z | X | "") return 0 ;;
    esac
    return 1
}

stop_gnome() {
    [ -n "$GNOME_PID" ] || return 0
    local shell system_bus
    shell=$(cat "$GNOME_DIR/shell.pid" 2>/dev/null || true)
    system_bus=$(cat "$GNOME_DIR/system-bus.pid" 2>/dev/null || true)
    # The session ends with the shell: its bus, and with it the services it
    # started; Mutter ends its XWayland.
    if [ -n "$shell" ]; then
        kill "$shell" 2>/dev/null || true
        wait_until "gnome_ended $GNOME_PID" 15 || kill -KILL "$shell" 2>/dev/null || true
    fi
    wait_until "gnome_ended $GNOME_PID" 5 || kill -KILL "$GNOME_PID" 2>/dev/null || true
    wait "$GNOME_PID" 2>/dev/null || true
    [ -z "$system_bus" ] || kill "$system_bus" 2>/dev/null || true
    GNOME_PID=
}

gnome_fail() {
    echo "--- GNOME Shell's output:" >&2
    tail -n 40 "$GNOME_DIR/shell.log" >&2
    fail "$@"
}

# Asks the shell's extension service; prints gdbus's answer.
gnome_extensions_call() {
    local method=$1
    shift
    timeout 5 gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method "org.gnome.Shell.Extensions.$method" "$@"
}
