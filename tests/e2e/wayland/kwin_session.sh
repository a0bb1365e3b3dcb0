#!/usr/bin/env bash
# The session program of the tests' headless KWin (--exit-with-session):
# writes the session's environment, as shell assignments, to the file
# $KWIN_SESSION_ENV, then waits until a line comes through the FIFO
# $KWIN_SESSION_END, or $KWIN_SESSION_SECONDS pass, and ends: KWin ends with
# it. Its parent is KWin.
set -euo pipefail

# Read-write, so that neither this open nor the writer's ever blocks.
exec 3<>"$KWIN_SESSION_END"
{
    printf 'export WAYLAND_DISPLAY=%q DISPLAY=%q\n' "$WAYLAND_DISPLAY" "$DISPLAY"
    printf 'export DBUS_SESSION_BUS_ADDRESS=%q XDG_RUNTIME_DIR=%q\n' "$DBUS_SESSION_BUS_ADDRESS" "$XDG_RUNTIME_DIR"
    printf 'KWIN_PID=%q\n' "$PPID"
} >"$KWIN_SESSION_ENV.part"
mv "$KWIN_SESSION_ENV.part" "$KWIN_SESSION_ENV"
read -r -t "${KWIN_SESSION_SECONDS:-900}" -u 3 _ || true
