# Shared by the bench scripts: a work folder that goes, with every process
# the script started, when the script ends.

# Makes the folder $work (named after $1) and arranges its removal; the
# script adds the ids of the processes it starts to pids.
bench_workdir() {
    work=$(mktemp -d "/tmp/quorzane-$1.XXXXXX")
    pids=()
    trap bench_cleanup EXIT
}

bench_cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}

# For the bridge benches, which run on tests/e2e/lib.sh: ends the stand-in
# receiver $1 and starts the program in its place in the Wayland session,
# its animation off, once it says that it follows the pointer through $2.
program_in_receivers_place() {
    kill "$1"
    wait "$1" 2>/dev/null || true
    export XDG_SESSION_TYPE=wayland
    write_settings "TaskBarAnimation=0"
    launch_quorzane
    wait_until "grep -q 'through $2' '$E2E_TMP/quorzane.log'" 15 || fail "the program did not take $2"
}
