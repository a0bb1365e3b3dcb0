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
