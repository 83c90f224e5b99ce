#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelo-relay on loopback.
# usage: relay_test.sh RELAY command_line
#        relay_test.sh RELAY game|cut SERVER BOT
# command_line: bad options are one line and status 2, --help names the options.
# game: two kelo-bot players play a whole game to stalemate through the relay, every byte late,
# in pieces of 1 to 16 bytes, with a stall in the middle; the server sees no violation, so no
# byte was lost, repeated or reordered.
# cut: a cut closes a player's connection on both sides, and the relay takes the next one; a
# client whose server cannot be reached is closed.
set -uo pipefail
source "$(dirname "$0")/../../../scripts/table_server.sh"
source "$(dirname "$0")/../../../scripts/test_helpers.sh"
relay=$1
scenario=$2
server=${3:-}
bot=${4:-}
dir=$(mktemp -d)
pids=()
server_pid=
trap stop_all EXIT

fail() {
    echo "FAIL ($scenario): $*"
    show_logs
    exit 1
}
expect() { grep -qE "$2" "$dir/$1.out" || fail "$1 did not print /$2/"; }

start_server() {
    "$server" --port 0 >"$dir/server.out" 2>&1 &
    server_pid=$!
    port=$(listening_port "$dir/server.out") || fail "the server did not listen"
}
# start_relay ARGS...: a relay to the server, its port in relay_port.
start_relay() {
    "$relay" --listen 127.0.0.1:0 --server 127.0.0.1:$port "$@" >"$dir/relay.out" 2>&1 &
    pids+=($!)
    wait_for "$dir/relay.out" '^relay listening 127\.0\.0\.1:[1-9][0-9]*$' 10 ||
        fail "the relay did not listen"
    relay_port=$(sed -n 's/^relay listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$dir/relay.out")
}
players="--player 1:white:White:0 --player 2:black:Black:1"
declare -A bot_pid
start_bot() {
    local name=$1
    shift
    "$bot" "$@" >"$dir/$name.out" 2>&1 &
    bot_pid[$name]=$!
    pids+=($!)
}

case $scenario in
command_line)
    for bad in "" "--listen 127.0.0.1:0" "--listen 127.0.0.1:0 --server 127.0.0.1:1 --pieces 0" \
        "--listen 127.0.0.1:0 --server 127.0.0.1:1 --stall 5" "--listen localhost:0 --server 127.0.0.1:1" \
        "--listen 127.0.0.1:0 --server 127.0.0.1:1 --bogus"; do
        # shellcheck disable=SC2086
        err=$("$relay" $bad 2>&1 >/dev/null)
        status=$?
        [ $status -eq 2 ] || [ "$bad" = "--listen localhost:0 --server 127.0.0.1:1" -a $status -eq 1 ] ||
            fail "'$bad' gave status $status"
        [ "$(wc -l <<<"$err")" = 1 ] && [ -n "$err" ] || fail "'$bad' said '$err', not one line"
    done
    help=$("$relay" --help) || fail "--help failed"
    for option in listen server delay jitter pieces stall cut seed; do
        grep -q -- "--$option " <<<"$help" || fail "--help lacks --$option"
    done
    ;;
game)
    # Stalemate at the tenth move of White: 19 moves, each a round trip through the relay.
    moves="e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6"
    start_server
    start_relay --delay 150 --jitter 100 --pieces 1..16 --stall 3:3 --seed 7
    for side in white black; do
        start_bot $side --timeout 60 --quit-after-result --server 127.0.0.1:$relay_port --desk 1 \
            $players --me $side --moves "$moves"
    done
    for side in white black; do
        wait "${bot_pid[$side]}" || fail "$side exited with $?"
    done
    expect white '^sent 651 sender=0 decisive=0 winner=0 reason=2$'
    expect black '^recv 651 sender=0 decisive=0 winner=0 reason=2$'
    expect black '^board .* ply=19$'
    expect relay '^relay: seed 7, delay 150 ms, jitter 100 ms, pieces 1\.\.16 bytes, stall at 3\.000 s for 3\.000 s'
    expect relay '^relay: stall begins$'
    expect relay '^relay: stall ends, [0-9]+ bytes were held$'
    # Both connections were carried to their close, in many more pieces than the 20 or so
    # messages each player sends.
    wait_for "$dir/relay.out" '^relay: connection [12] closed: ' 10 2 ||
        fail "the relay did not close both connections"
    while read -r pieces; do
        [ "$pieces" -ge 60 ] || fail "only $pieces pieces to the server on one connection"
    done < <(sed -n 's/^relay: connection [12] closed: [0-9]* bytes in \([0-9]*\) pieces to the server.*/\1/p' "$dir/relay.out")
    kill "$server_pid"
    wait "$server_pid"
    server_pid=
    expect server '^stopped, 0 violations$'
    ;;
cut)
    # White enters through the relay, which cuts at 1.5 s: the bot learns that its connection is
    # gone. A player entering after the cut goes through and is seated.
    start_server
    start_relay --delay 50 --cut 1.5
    start_bot white --timeout 30 --server 127.0.0.1:$relay_port --desk 1 $players --me white
    wait_for_line white '^recv 3010 '
    wait "${bot_pid[white]}"
    [ $? -ne 0 ] || fail "white did not notice that its connection was cut"
    expect white '^connection lost$'
    expect relay '^relay: cut connection 1, [0-9]+ bytes dropped$'
    start_bot black --timeout 30 --server 127.0.0.1:$relay_port --desk 1 $players --me black
    wait_for_line black '^recv 3010 '
    expect relay '^relay: connection 2 joined to the server$'
    # With the server gone, a client is told by the close of its connection.
    kill "$server_pid"
    wait "$server_pid"
    server_pid=
    exec 3<>/dev/tcp/127.0.0.1/$relay_port || fail "cannot connect to the relay"
    timeout 10 cat <&3 >/dev/null || fail "the relay kept a connection open without a server"
    exec 3<&-
    expect relay '^relay: connection 3: cannot reach the server 127\.0\.0\.1:[0-9]+: '
    ;;
*)
    fail "no scenario $scenario"
    ;;
esac
[ -n "${KELO_RELAY_SHOW:-}" ] && show_logs
echo ok
