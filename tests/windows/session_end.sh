#!/bin/sh
# The end of a Wine session reaches the program's handlers, and the settings
# are on disk by the time the session is over:
#   session_end.sh PREFIX PROBE
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all
probe=$2
settings="$WINEPREFIX/drive_c/windows/QRVN.INI"
ready=$(mktemp -u /tmp/quorzane-session-end.XXXXXX)
trap 'rm -f "$ready"' EXIT

printf '[OPTIONS]\r\nTimesInProgram=7\r\n' >"$settings"
wine "$probe" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
probe_pid=$!
tries=200
until [ -s "$ready" ]; do
  tries=$((tries - 1))
  [ "$tries" -gt 0 ] || { echo "FAIL: the probe did not start" >&2; exit 1; }
  sleep 0.1
done
wine wineboot.exe --end-session --kill </dev/null >/dev/null 2>&1 || true
wait "$probe_pid" || true
if ! tr -d '\r' <"$settings" | grep -qx 'TimesInProgram=8'; then
  echo "FAIL: after the session's end the settings hold: $(tr -d '\r' <"$settings" | tr '\n' ' ')" >&2
  exit 1
fi
echo PASS
