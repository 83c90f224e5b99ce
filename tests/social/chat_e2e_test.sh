#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside its own session bus (dbus-run-session). A table at the reference server: two
# kelo-bot players and the windowed client as a watcher, started as the hall starts it
# (kelo-hall). The client's list shows all three, and a line a bot says appears in the
# client's chat in the colour the bot sent it with. The client prints what its chat and list
# show (KELO_SOCIAL_DUMP).
# Arguments: kelo-chess, kelo-hall, kelo-table-server, kelo-bot.
set -u
source "$(dirname "$0")/../../scripts/table_server.sh"
source "$(dirname "$0")/../../scripts/test_helpers.sh"
client=$1 hall=$2 server=$3 bot=$4
work=$(mktemp -d)
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
pids=()
# Only what this script started is ended.
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
logs() {
    for log in "$work"/*.log; do echo "--- $log"; tail -n 40 "$log"; done
}

"$server" --port 0 >"$work/server.log" 2>&1 &
pids+=($!)
port=$(listening_port "$work/server.log") || { fail "the server did not start"; logs; exit 1; }

KELO_SOCIAL_DUMP=1 KELO_AUTO_ANSWER=no "$client" -Embedding >"$work/client.log" 2>&1 &
pids+=($!)
wait_for "$work/client.log" '^registered' || { fail "the client did not register"; logs; exit 1; }

people="--player 100:alice:爱丽丝:0 --player 200:bob:鲍勃:1 --watcher 300:carol:卡罗尔:1:0"
# The hall stays while the table is open.
"$hall" $people --me carol --watch --desk 3 --server "127.0.0.1:$port" >"$work/hall.log" 2>&1 &
pids+=($!)
wait_for "$work/server.log" 'id=300 entered desk 3' || fail "the watcher did not enter"

moves="e2e4 e7e5 g1f3 b8c6 f1c4 f8c5"
"$bot" --server "127.0.0.1:$port" --desk 3 --types 1,2,3 $people --me alice --moves "$moves" \
    --say "大家好，祝好运！@1" --timeout 60 >"$work/alice.log" 2>&1 &
pids+=($!)
# The bot enters as the window does, with the hall's service, game and sub type.
wait_for "$work/server.log" 'id=100 entered desk 3 seat 0 watchno [0-9]* types 1,2,3' ||
    fail "the bot's entry: $(grep 'id=100 entered' "$work/server.log")"
"$bot" --server "127.0.0.1:$port" --desk 3 $people --me bob --moves "$moves" \
    --timeout 60 >"$work/bob.log" 2>&1 &
pids+=($!)

# All three, players first, the own row marked.
wait_for "$work/client.log" '^people shown: alice,bob,carol\*$' ||
    fail "the list does not show all three: $(grep '^people shown' "$work/client.log" | tail -n1)"

# The line as the bot sent it, and its colour (0x00BBGGRR) as the window must show it.
wait_for "$work/alice.log" '^sent 3021 ' || fail "the bot did not say its line"
sent=$(grep -m1 '^sent 3021 ' "$work/alice.log")
colour=$(sed -n 's/.* colour=\([0-9]*\) .*/\1/p' <<<"$sent")
line=${sent#* line=}
[ "$line" = "爱丽丝(alice)说：大家好，祝好运！" ] || fail "the bot sent '$line'"
rgb=$(printf '#%02X%02X%02X' $((colour & 255)) $(((colour >> 8) & 255)) $(((colour >> 16) & 255)))
wait_for "$work/client.log" "^chat shown: $rgb 爱丽丝\(alice\)说：大家好，祝好运！$" ||
    fail "the chat does not show '$rgb $line': $(grep '^chat shown' "$work/client.log")"
# The list still shows all three once the server has named them.
[ "$(grep '^people shown: ' "$work/client.log" | tail -n1)" = "people shown: alice,bob,carol*" ] ||
    fail "the list ends as '$(grep '^people shown: ' "$work/client.log" | tail -n1)'"
# The table's own presence lines are there too, by name.
grep -q '^chat shown: #000000 alice 进来了!$' "$work/client.log" ||
    fail "no arrival line for alice"

[ "$failures" -eq 0 ] || logs
echo "chat and people at a watched table: $failures failed"
[ "$failures" -eq 0 ]
