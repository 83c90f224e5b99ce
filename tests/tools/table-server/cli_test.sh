#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The server's command line: a bad option or limit is refused, --help names the limits,
# --port 0 prints the port it listens on, and SIGTERM and SIGINT stop it cleanly.
set -euo pipefail
server="$1"
for bad in "--bogus" "--port 0 --max-desk 0" "--port 0 --idle-limit x" "--port 0 --max-unsent" \
    "--port 0 --seat-hold 0" "--port 0 --max-per-address x"; do
    if "$server" $bad 2>/dev/null; then
        echo "'$bad' was accepted"; exit 1
    fi
done
# --help names every limit with its default, and says that a second entry takes over.
help=$("$server" --help)
for option in max-connections max-desk max-violations idle-limit max-unsent max-unsent-total \
    max-per-address enter-limit seat-hold; do
    grep -q -- "--$option .*([0-9]*)" <<<"$help" || { echo "--help lacks --$option"; exit 1; }
done
grep -q 'takes over, as a login elsewhere' <<<"$help" || { echo "--help lacks the takeover"; exit 1; }
for signal in TERM INT; do
    out=$(mktemp)
    "$server" --port 0 >"$out" &
    pid=$!
    for _ in $(seq 100); do
        grep -q '^listening 127\.0\.0\.1:[0-9]\+$' "$out" && break
        sleep 0.1
    done
    grep -q '^listening 127\.0\.0\.1:[1-9][0-9]*$' "$out" || { echo "no listening line"; cat "$out"; exit 1; }
    kill -"$signal" "$pid"
    wait "$pid" || { echo "exit status $? after SIG$signal"; exit 1; }
    grep -q '^stopped, 0 violations$' "$out" || { echo "no clean stop"; cat "$out"; exit 1; }
    rm -f "$out"
done
# --control-stdin: a time line is taken, a bad line is reported, and the end of the input (its
# controller gone) stops the server cleanly.
out=$(mktemp)
{ echo "time 300,20,2"; echo "nonsense"; sleep 0.5; } |
    timeout 10 "$server" --port 0 --control-stdin >"$out" ||
    { echo "exit status $? at the end of the control input"; cat "$out"; exit 1; }
for line in '^time 300,20,2 for the games to come$' '^control: not understood: nonsense$' \
    '^control input closed$' '^stopped, 0 violations$'; do
    grep -q "$line" "$out" || { echo "no line $line"; cat "$out"; exit 1; }
done
rm -f "$out"
echo ok
