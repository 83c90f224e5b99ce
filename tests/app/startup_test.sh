#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside its own session bus (dbus-run-session): how kelo-chess starts and ends.
# -RegServer / -UnregServer, one direct start at a time, and the end a few seconds after the
# last hall has gone.
set -u
client=$1
hall=$2
work=$(mktemp -d)
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
failures=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

source "$(dirname "$0")/../../scripts/test_helpers.sh"

service="$XDG_DATA_HOME/dbus-1/services/com.zandor.KeloChessGame.service"
desktop="$XDG_DATA_HOME/applications/kelo-chess.desktop"
mime="$XDG_DATA_HOME/mime/packages/kelo-chess.xml"
record="$XDG_CONFIG_HOME/kelo-chess/KeloChessGame.StartGame.ini"


# Registering writes the files and ends at once; removing takes the three away again.
for option in -RegServer /regserver -REGSERVER; do
    rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    timeout 5 "$client" "$option" || fail "$option ended with status $?"
    for f in "$service" "$desktop" "$mime" "$record"; do
        [ -f "$f" ] || fail "$option did not write $f"
    done
done
grep -qx "Exec=\"$client\" -Embedding" "$service" || fail "service: $(cat "$service")"
grep -qx "Exec=\"$client\" %f" "$desktop" || fail "desktop entry: $(cat "$desktop")"
grep -q 'pattern="\*.che"' "$mime" || fail "MIME type: $(cat "$mime")"
grep -q "^GamePath=$client" "$record" || fail "install record: $(cat "$record")"
for option in /UnregServer -unregserver; do
    "$client" -RegServer
    timeout 5 "$client" "$option" || fail "$option ended with status $?"
    for f in "$service" "$desktop" "$mime"; do
        [ -e "$f" ] && fail "$option left $f"
    done
    [ -f "$record" ] || fail "$option took the install record away"
done

# A folder that cannot be written does not stop the start.
rm -rf "$XDG_DATA_HOME"
echo "not a folder" >"$XDG_DATA_HOME"
timeout 5 "$client" -RegServer || fail "an unwritable data folder stopped -RegServer"
[ -f "$record" ] || fail "the install record was skipped with the data folder"
rm -f "$XDG_DATA_HOME"

# One direct start at a time: a second one ends at once, silently, and leaves the first alone.
KELO_AUTO_ANSWER=no "$client" "\"$work/game.che\"" >"$work/first.log" 2>&1 &
first=$!
wait_for "$work/first.log" '^window: shown' 5 || fail "no local table: $(cat "$work/first.log")"
grep -qx "local table: $work/game.che" "$work/first.log" ||
    fail "the record's path kept its quotes: $(cat "$work/first.log")"
grep -qx 'notice: 不存在走子纪录，不能续盘！' "$work/first.log" ||
    fail "no notice for a record without moves: $(cat "$work/first.log")"
second_out=$(timeout 5 "$client" 2>&1)
status=$?
[ $status = 0 ] && [ -z "$second_out" ] || fail "second start: status $status, '$second_out'"
kill -0 $first 2>/dev/null || fail "the second start ended the first"
kill $first
wait $first 2>/dev/null
# Once the first has gone, a direct start opens its table again (without a record).
"$client" >"$work/again.log" 2>&1 &
again=$!
wait_for "$work/again.log" '^local table: without a record' 5 ||
    fail "no start after the first ended: $(cat "$work/again.log")"
kill $again
wait $again 2>/dev/null

# The hall holds the table; when it leaves the bus the client ends about 5 s later.
"$client" -Embedding >"$work/client.log" 2>&1 &
client_pid=$!
wait_for "$work/client.log" '^registered' 5 || fail "not registered: $(cat "$work/client.log")"
"$hall" --player 1:a:A:0 --me a --local >"$work/hall.log" 2>&1 &
hall_pid=$!
wait_for "$work/client.log" '^window: shown' 5 || fail "no window: $(cat "$work/client.log")"
sleep 1
kill -0 $hall_pid 2>/dev/null || fail "kelo-hall did not stay while the table is open"
kill $hall_pid
wait $hall_pid 2>/dev/null
sleep 3
kill -0 $client_pid 2>/dev/null || fail "the client ended before its 5 s"
for _ in $(seq 40); do kill -0 $client_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $client_pid 2>/dev/null; then
    fail "the client still runs 7 s after the hall left"
    kill $client_pid
fi
wait $client_pid 2>/dev/null
grep -q '^hall gone' "$work/client.log" || fail "no end for the hall: $(cat "$work/client.log")"

# A hall that comes back in time keeps the client; kelo-hall ends when the client leaves.
"$client" -Embedding >"$work/client.log" 2>&1 &
client_pid=$!
wait_for "$work/client.log" '^registered' 5 || fail "not registered again"
"$hall" --player 1:a:A:0 --me a --local --detach || fail "kelo-hall --detach failed"
sleep 3
"$hall" --player 1:a:A:0 --me a --local >/dev/null 2>&1 &
hall_pid=$!
sleep 4
kill -0 $client_pid 2>/dev/null || fail "a returning hall did not keep the client"
kill $client_pid
for _ in $(seq 50); do kill -0 $hall_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $hall_pid 2>/dev/null && fail "kelo-hall stayed after the client left"

echo "start-up: $failures failed"
[ $failures -eq 0 ]
