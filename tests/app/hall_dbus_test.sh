#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside its own session bus (dbus-run-session): the table client offers the hall
# interface, and kelo-hall drives it as the hall would.
set -u
source "$(dirname "$0")/../../scripts/table_server.sh"
source "$(dirname "$0")/../../scripts/test_helpers.sh"
client=$1
hall=$2
server=$3
work=$(mktemp -d)
# Every start registers the program; keep that out of the user's own folders.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
failures=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT


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

# Without --seats the table has two seats; without --local or --watch the client is told it
# plays at the server, since it starts alone.
expect_calls() { # expected, options...
    local expected=$1
    shift
    out=$("$hall" --dry-run "$@" | grep -E '^(SetSeatNum|SetWatchStyle) ' | tr '\n' ';')
    [ "$out" = "$expected" ] || fail "$* gave '$out', not '$expected'"
}
expect_calls "SetSeatNum 2;SetWatchStyle 0;" --player 1:a:A:0 --me a
expect_calls "SetSeatNum 3;SetWatchStyle 2;" --seats 3 --local
expect_calls "SetSeatNum 2;SetWatchStyle 1;" --watch

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

# ShowWindow connects to the game server and enters the table with what the hall said.
"$server" --port 0 >"$work/server.log" 2>&1 &
server_pid=$!
port=$(listening_port "$work/server.log") || fail "the server did not start: $(cat "$work/server.log")"

start_client no
"$hall" --player 100:alice:Alice:0 --player 200:bob:Bob:1 --me alice --desk 5 \
    --types 1,2,3 --server "127.0.0.1:$port" --detach || fail "kelo-hall failed"
for _ in $(seq 100); do grep -q 'entered' "$work/server.log" && break; sleep 0.1; done
grep -q 'id=100 entered desk 5 seat 0 watchno 65535 types 1,2,3' "$work/server.log" ||
    fail "no entry at the server: $(cat "$work/server.log")"
grep -q '^window: shown' "$work/client.log" || fail "ShowWindow did not arrive"
# kelo-hall installed itself as the hall before its call: the client found it.
grep -q '^AppPath=.*/' "$XDG_CONFIG_HOME/zandor/Zandor.ini" || fail "kelo-hall wrote no install record"
grep -q '^head pictures: [1-9]' "$work/client.log" || fail "no head pictures: $(cat "$work/client.log")"
sleep 0.3
grep -q '没有游戏安装大厅' "$work/client.log" && fail "the hall was called missing"
stop_client

# A local table (SetWatchStyle 2) connects nothing.
start_client no
"$hall" --player 1:a:A:0 --me a --local --server "127.0.0.1:$port" --detach >/dev/null ||
    fail "kelo-hall failed"
sleep 0.5
grep -q '^window: shown' "$work/client.log" || fail "ShowWindow did not arrive locally"
[ "$(grep -c 'entered' "$work/server.log")" = 1 ] || fail "a local table connected"
for bad in "--player 1:a" "--watcher 3:w:W:0:x"; do
    err=$("$hall" $bad 2>&1 >/dev/null)
    status=$?
    [ $status = 2 ] && [ "$(wc -l <<<"$err")" = 1 ] || fail "$bad gave status $status and '$err'"
done
stop_client
kill "$server_pid"
"$hall" --no-show >/dev/null 2>&1 && fail "kelo-hall succeeded without a client"

echo "hall over D-Bus: $failures failed"
[ $failures -eq 0 ]
