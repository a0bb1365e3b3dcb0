#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR: every file where the desktop
# looks for it, the entries and the AppStream file clean under their
# validators, the man page clean under man's warnings, and the installed
# program, started through its link, finds its help file and shows the
# first-start help in a window of the desktop entry's class that carries
# the main icon.
#
# Needs BUILD_DIR (the configured build tree) and PREFIX (its install prefix).
QUORZANE=${QUORZANE:-unused}
source "$(dirname "$0")/../e2e/lib.sh"
BUILD_DIR=${BUILD_DIR:?BUILD_DIR must name the build tree}
PREFIX=${PREFIX:?PREFIX must name the install prefix}
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

ROOT=$E2E_TMP/root
DESTDIR=$ROOT cmake --install "$BUILD_DIR" >"$E2E_TMP/install.log" || fail "cmake --install failed: $(cat "$E2E_TMP/install.log")"
TOP=$ROOT$PREFIX
ID=org.quorzane.Quorzane
case $PREFIX in /usr) ETC=$ROOT/etc ;; *) ETC=$TOP/etc ;; esac

expected=(
    "$TOP/lib/quorzane/quorzane" "$TOP/lib/quorzane/QRVN.HLP" "$TOP/bin/quorzane"
    "$TOP/share/applications/$ID.desktop" "$ETC/xdg/autostart/$ID.desktop"
    "$TOP/share/metainfo/$ID.metainfo.xml" "$TOP/share/man/man1/quorzane.1"
    "$TOP/lib/quorzane/quorzane-pointer.js"
)
for file in metadata.json extension.js pointerBridge.js; do
    expected+=("$TOP/share/gnome-shell/extensions/pointer@quorzane.org/$file")
done
for size in 16 22 24 32 48 64 128 256; do
    icon=$TOP/share/icons/hicolor/${size}x$size/apps/$ID.png
    expected+=("$icon")
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "$icon is not $size pixels square"
done
for file in "${expected[@]}"; do
    [ -e "$file" ] || fail "not installed: ${file#"$ROOT"}"
done
# Nothing else: no tests, no benchmarks, no build leftovers.
installed=$(find "$ROOT" ! -type d | sort)
[ "$installed" = "$(printf '%s\n' "${expected[@]}" | sort)" ] || fail "other files installed: $(comm -13 <(printf '%s\n' "${expected[@]}" | sort) <(echo "$installed"))"

[ "$(readlink "$TOP/bin/quorzane")" = ../lib/quorzane/quorzane ] || fail "bin/quorzane links to $(readlink "$TOP/bin/quorzane")"
[ -x "$TOP/lib/quorzane/quorzane" ] || fail "the program is not executable"
cmp -s "$TOP/share/applications/$ID.desktop" "$ETC/xdg/autostart/$ID.desktop" || fail "the autostart entry differs from the menu entry"
grep -qx "Categories=Utility;" "$TOP/share/applications/$ID.desktop" || fail "the entry is not in the Utility category"
grep -qx "Icon=$ID" "$TOP/share/applications/$ID.desktop" || fail "the entry does not name the program's icon"

desktop-file-validate "$TOP/share/applications/$ID.desktop" "$ETC/xdg/autostart/$ID.desktop" >"$E2E_TMP/validate" 2>&1 ||
    fail "desktop-file-validate: $(cat "$E2E_TMP/validate")"
[ ! -s "$E2E_TMP/validate" ] || fail "desktop-file-validate: $(cat "$E2E_TMP/validate")"
appstreamcli validate --no-net "$TOP/share/metainfo/$ID.metainfo.xml" >"$E2E_TMP/appstream" 2>&1 ||
    fail "appstreamcli: $(cat "$E2E_TMP/appstream")"
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$TOP/share/man/man1/quorzane.1" \
    2>"$E2E_TMP/man" >/dev/null || fail "man: $(cat "$E2E_TMP/man")"
[ ! -s "$E2E_TMP/man" ] || fail "man warns: $(cat "$E2E_TMP/man")"

# The installed program through its link.
[ "$("$TOP/bin/quorzane" --version)" = "Quorzane 1.0" ] || fail "--version says $("$TOP/bin/quorzane" --version)"
start_display
start_tray_host
rm -f "$SETTINGS_FILE"
QUORZANE=$TOP/bin/quorzane
start_quorzane
wait_until "visible_window 'Quorzane! Help'" 10 || fail "the installed program showed no first-start help"
help=$(visible_window 'Quorzane! Help')
# The icon may come a moment after the window is mapped.
wait_until "xprop -id '$help' _NET_WM_ICON | grep -q 'Icon (32 x 32)'" 5 || fail "the help window does not carry the main icon"
# X11 task bars match a window to its entry by the window's class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$TOP/share/applications/$ID.desktop")
xprop -id "$help" WM_CLASS | grep -q ", \"$wm_class\"$" ||
    fail "the help window's class is not the entry's $wm_class: $(xprop -id "$help" WM_CLASS)"
stop_quorzane TERM
[ "$QUORZANE_STATUS" = 0 ] || fail "the installed program ended with status $QUORZANE_STATUS"
echo "PASS"
