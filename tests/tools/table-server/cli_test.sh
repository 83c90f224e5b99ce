#!/usr/bin/env bash
# The server's command line: a bad option is refused, --port 0 prints the port it listens on,
# and SIGTERM and SIGINT stop it cleanly.
set -euo pipefail
server="$1"
if "$server" --bogus 2>/dev/null; then
    echo "a bad option was accepted"; exit 1
fi
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
echo ok
