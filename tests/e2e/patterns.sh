#!/usr/bin/env bash
# Each of the eight patterns, made with the real cursor, starts its own
# command once, and no other.
source "$(dirname "$0")/lib.sh"

start_display
start_tray_host
write_settings
start_quorzane

expected=()
for pattern in 1 2 3 4 5 6 7 8; do
    shake "$pattern"
    expected+=("ev$pattern:1")
    wait_until "[ \"\$(marks)\" = '${expected[*]}' ]" 5 ||
        fail "after pattern $pattern the marks are '$(marks)', not '${expected[*]}'"
done
echo "PASS"
