#!/usr/bin/env bash
# The Debian package that scripts/package made: lintian reports no error and
# no warning; it depends on run-time packages only; apt-get installs it with
# them, the installed program answers through its link, and purging it leaves
# none of its files behind; the Wayland desktops' bridges (the KWin script,
# the GNOME Shell extension) come and go with it. Needs root or sudo, as apt-get does.
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(ls build-deb/quorzane_*_amd64.deb)
fail() { echo "FAIL: $*" >&2; exit 1; }
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

lint=$(lintian --fail-on error,warning "$deb" 2>&1 | grep -v "running with root privileges" || true)
[ -z "$(grep -E '^[EW]: ' <<<"$lint")" ] || fail "lintian: $lint"
echo "lintian: ${lint:-clean}"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for build_only in -dev cmake ninja pkgconf debhelper; do
    ! grep -q -- "$build_only" <<<"$depends" || fail "the package depends on a build tool or headers ($build_only)"
done
echo "size: $(stat -c %s "$deb") bytes, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"

! dpkg-query -W quorzane >/dev/null 2>&1 || fail "quorzane is installed already; purge it first"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "./$deb" >/tmp/quorzane-apt.log 2>&1 ||
    fail "apt-get install: $(cat /tmp/quorzane-apt.log)"
files=$(dpkg -L quorzane)
[ "$(/usr/bin/quorzane --version)" = "Quorzane 1.0" ] || fail "the installed program does not answer --version"
[ -f /usr/lib/quorzane/QRVN.HLP ] && [ -f /etc/xdg/autostart/org.quorzane.Quorzane.desktop ] ||
    fail "the help file or the autostart entry is missing"
extension=/usr/share/gnome-shell/extensions/pointer@quorzane.org
[ -f /usr/lib/quorzane/quorzane-pointer.js ] && [ -f $extension/metadata.json ] && [ -f $extension/extension.js ] &&
    [ -f $extension/pointerBridge.js ] || fail "the KWin script or the GNOME Shell extension is missing"
grep -q gnome-shell-extension-appindicator <<<"$(dpkg-deb -f "$deb" Suggests)" ||
    fail "the package does not suggest GNOME's tray extension"

"${sudo_cmd[@]}" apt-get purge -y -qq quorzane >/tmp/quorzane-apt.log 2>&1 || fail "apt-get purge: $(cat /tmp/quorzane-apt.log)"
! dpkg-query -W -f='${Status}' quorzane 2>/dev/null | grep -q . || fail "dpkg still knows the package"
left=$(while read -r path; do
    if [ ! -d "$path" ] && { [ -e "$path" ] || [ -L "$path" ]; }; then echo "$path"; fi
done <<<"$files")
[ -z "$left" ] || fail "left behind: $left"
[ ! -e /usr/lib/quorzane ] && [ ! -e /usr/share/doc/quorzane ] && [ ! -e $extension ] ||
    fail "folders of the package left behind"
echo "PASS"
