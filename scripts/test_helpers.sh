# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the test scripts (tests/, scripts/fault_run.sh): what they share.

# fail MESSAGE: prints "FAIL: MESSAGE" and counts it in failures; the script goes on and ends by
# reporting the count. A script that has to stop at its first failure defines its own fail.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# wait_for FILE PATTERN [SECONDS [COUNT]]: true as soon as COUNT lines (1 when not given) of
# FILE match the extended regular expression PATTERN, false after SECONDS (15 when not given).
wait_for() {
    local found
    for _ in $(seq $((${3:-15} * 10))); do
        found=$(grep -cE "$2" "$1" 2>/dev/null)
        [ "${found:-0}" -ge "${4:-1}" ] && return 0
        sleep 0.1
    done
    return 1
}

# expect_error PROGRAM WHAT ARGS...: PROGRAM ARGS must end with status 2 and one line on stderr
# that names WHAT; otherwise a fail.
expect_error() {
    local program=$1 what=$2
    shift 2
    local err status
    err=$("$program" "$@" 2>&1 >/dev/null)
    status=$?
    if [ $status -ne 2 ] || ! grep -q -- "$what" <<<"$err" || [ "$(wc -l <<<"$err")" != 1 ]; then
        fail "$(basename "$program") $* gave status $status and '$err', expected one line naming '$what'"
    fi
}

# For the scripts that keep the output of each program they start as $dir/NAME.out, the
# processes in pids and the server's in server_pid:
# show_logs prints every output under its name;
show_logs() {
    for f in "$dir"/*.out; do
        echo "== $(basename "$f")"
        cat "$f"
    done
}
# wait_for_line NAME PATTERN [SECONDS] waits for a line of NAME's output (60 s by default), and
# fails without it;
wait_for_line() {
    wait_for "$dir/$1.out" "$2" "${3:-60}" || fail "$1 never printed /$2/"
}
# stop_all ends them all and removes $dir (the EXIT trap).
stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
# own_session_bus MARK SCRIPT ARGS...: runs the script again under a session bus of its own,
# with MARK set in its environment; the run that has MARK goes on. Exits 77 without
# dbus-run-session.
own_session_bus() {
    local mark=$1
    shift
    [ -n "${!mark:-}" ] && return 0
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing"; exit 77; }
    export "$mark=1"
    exec dbus-run-session -- bash "$@"
}
# need_tools TOOL...: exits 77 naming the first tool that is not installed.
need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 77; }
    done
}
