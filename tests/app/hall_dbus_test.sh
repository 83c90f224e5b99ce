#!/usr/bin/env bash
# Runs inside its own session bus (dbus-run-session): the table client offers the hall
# interface, and kelo-hall drives it as the hall would.
set -u
client=$1
hall=$2
work=$(mktemp -d)
failures=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start_client() { # answer
    KELO_AUTO_ANSWER=$1 "$client" -Embedding >"$work/client.log" 2>&1 &
    client_pid=$!
    for _ in $(seq 100); do
        grep -q '^registered' "$work/client.log" && return 0
        sleep 0.1
    done
    fail "the client did not register: $(cat "$work/client.log")"
    return 1
}

stop_client() {
    kill "$client_pid" 2>/dev/null
    wait "$client_pid" 2>/dev/null
}

# Join_Team answered yes: AgreeOrNot with the low 16 bits of the own id.
start_client yes
out=$("$hall" --player 65637:alice:Alice:0 --player 200:bob:Bob:1 --me alice --no-show \
    --join-team carol:77 --wait 5)
[ "$out" = "AgreeOrNot roomno=101 isagree=1 joined_id=77" ] || fail "yes gave '$out'"
grep -q 'question: carol 邀请你加入他的团队，你同意吗？ -> yes' "$work/client.log" ||
    fail "the question was not asked: $(cat "$work/client.log")"
stop_client

# Answered no: no event.
start_client no
out=$("$hall" --my-id 5 --no-show --join-team carol:77 --wait 1)
[ "$out" = "no AgreeOrNot" ] || fail "no gave '$out'"
stop_client

# ShowWindow reaches the client; bad options are refused.
start_client no
"$hall" --player 1:a:A:0 --me a --local >/dev/null || fail "kelo-hall failed"
sleep 0.2
grep -q '^ShowWindow' "$work/client.log" || fail "ShowWindow did not arrive"
"$hall" --player 1:a >/dev/null 2>&1 && fail "a short --player was accepted"
stop_client
"$hall" --no-show >/dev/null 2>&1 && fail "kelo-hall succeeded without a client"

echo "hall over D-Bus: $failures failed"
[ $failures -eq 0 ]
