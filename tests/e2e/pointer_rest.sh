#!/usr/bin/env bash
# Detection sleeps while the cursor rests and wakes when it moves, without
# changing which patterns fire: recorded cursor paths, played through XTest,
# start the same commands in the same order as with ticks that never stop
# (QUORZANE_TICK_CONTINUOUSLY=1). A warp, which sends no device motion, is
# seen by the slow check within about two seconds.
source "$(dirname "$0")/lib.sh"

ORDER=$MARKS/order
order_settings=()
for n in 1 2 3 4 5 6 7 8; do
    order_settings+=("EVENT$n=sh -c \"echo ev$n >>$ORDER\"")
done

R=$((SCREEN_WIDTH - 1)) B=$((SCREEN_HEIGHT - 1))
# Each path starts from a rest in the middle, long enough for detection to
# fall asleep (ten equal samples), and ends with a rest.
paths=(
    "mousemove 200 300 sleep 0.12 mousemove 600 300 sleep 0.12 mousemove 200 300"
    "mousemove 600 300 sleep 0.12 mousemove 200 300 sleep 0.12 mousemove 600 300"
    "mousemove 400 100 sleep 0.12 mousemove 400 500 sleep 0.12 mousemove 400 100"
    "mousemove 400 500 sleep 0.12 mousemove 400 100 sleep 0.12 mousemove 400 500"
    # Legs of exactly the distance do not count; one pixel more does.
    "mousemove 250 300 sleep 0.12 mousemove 400 300 sleep 0.12 mousemove 250 300"
    "mousemove 249 300 sleep 0.12 mousemove 400 300 sleep 0.12 mousemove 249 300"
    # Too slow for the window of ten samples.
    "mousemove 200 300 sleep 0.35 mousemove 600 300 sleep 0.35 mousemove 200 300"
    # A corner rest fires once and latches; leaving along the edge clears it.
    "mousemove 0 0 sleep 1.0 mousemove 0 300 sleep 0.3 mousemove 0 0 sleep 1.0 mousemove 400 300 sleep 0.3
     mousemove $R $B sleep 1.0"
    # Too short a rest, and one pixel off the corner. (The rest between is
    # long: the two moves left and the one right would make a shake if they
    # fitted in one window.)
    "mousemove 0 $B sleep 0.15 mousemove 400 300 sleep 0.8 mousemove 1 0 sleep 1.0"
    # Gestures with rests between them.
    "mousemove 600 300 sleep 0.12 mousemove 200 300 sleep 0.12 mousemove 600 300 sleep 1.0
     mousemove 400 300 sleep 1.5 mousemove 400 500 sleep 0.12 mousemove 400 100 sleep 0.12 mousemove 400 500"
)
expected="ev1 ev2 ev3 ev4 ev1 ev5 ev5 ev8 ev2 ev4"

# Voluntary context switches of all the program's threads.
wake_ups() {
    cat /proc/"$QUORZANE_PID"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'
}

# Plays every path and prints the events in the order they came.
play_paths() {
    local path
    rm -f "$ORDER"
    for path in "${paths[@]}"; do
        # shellcheck disable=SC2086 # the words of a path
        pointer mousemove "$REST_X" "$REST_Y" sleep 0.8 $path sleep 0.7
    done
    sleep 0.5
    [ -f "$ORDER" ] && tr '\n' ' ' <"$ORDER" | sed 's/ $//'
}

start_display
start_tray_host
write_settings "${order_settings[@]}" "TaskBarAnimation=0"

declare -A seen
for mode in sleeping continuous; do
    if [ "$mode" = continuous ]; then export QUORZANE_TICK_CONTINUOUSLY=1; else unset QUORZANE_TICK_CONTINUOUSLY; fi
    start_quorzane
    pointer mousemove "$REST_X" "$REST_Y"
    sleep 1.5
    before=$(wake_ups)
    sleep 2
    rested=$(($(wake_ups) - before))
    if [ "$mode" = sleeping ]; then
        [ "$rested" -le 10 ] || fail "at rest the program woke $rested times in 2 s"
    else
        [ "$rested" -ge 30 ] || fail "ticking continuously, the program woke only $rested times in 2 s"
    fi
    seen[$mode]=$(play_paths)
    stop_quorzane
    [ "$QUORZANE_STATUS" -eq 0 ] || fail "$mode: the program ended with status $QUORZANE_STATUS"
done
unset QUORZANE_TICK_CONTINUOUSLY
[ "${seen[continuous]}" = "$expected" ] || fail "ticking continuously the paths started '${seen[continuous]}', not '$expected'"
[ "${seen[sleeping]}" = "${seen[continuous]}" ] ||
    fail "sleeping the paths started '${seen[sleeping]}', ticking continuously '${seen[continuous]}'"

# A warp onto a corner while detection sleeps: the slow check sees it. The
# warp is the point here (programs do warp the pointer), so this one move
# goes through xdotool's warp, which sends no raw motion.
rm -f "$ORDER"
start_quorzane
pointer mousemove "$REST_X" "$REST_Y" sleep 1.5
before=$(wake_ups)
sleep 1
[ $(($(wake_ups) - before)) -le 5 ] || fail "detection was not asleep before the warp"
xdotool mousemove 0 0
wait_until "[ -s '$ORDER' ]" 3 || fail "a warp onto a corner went unseen for 3 s"
[ "$(cat "$ORDER")" = ev5 ] || fail "the warp started '$(cat "$ORDER")'"
echo "PASS"
