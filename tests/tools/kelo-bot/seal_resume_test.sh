#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Records of kelo-bot through the reference server. Sealing a game after 30 moves between two kelo-bot processes through the reference server,
# with a watcher, and resuming it later: both players store it, the stored moves are replayed
# in order on both players and the watcher, and the game goes on at the server.
# usage: seal_resume_test.sh SERVER BOT
set -uo pipefail
source "$(dirname "$0")/../../../scripts/table_server.sh"
source "$(dirname "$0")/../../../scripts/test_helpers.sh"
server=$1
bot=$2
dir=$(mktemp -d)
pids=()
server_pid=
trap stop_all EXIT
fail() {
    echo "FAIL: $*"
    show_logs
    exit 1
}
"$server" --port 0 >"$dir/server.out" 2>&1 &
server_pid=$!
port=$(listening_port "$dir/server.out") || fail "the server did not listen"

people="--player 1:white:White:0 --player 2:black:Black:1 --watcher 3:watch:Watch:1"
stored="e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b1d2 a7a6 a2a4 h7h6 h2h3 c8e6 \
c4e6 f7e6 d1b3 d8c8 e1g1 e8g8 f1e1 c8d7 d2f1 g8h7 c1e3 c5e3 f1e3 a8b8"
moves="$stored a1a2 b8a8"
declare -A pid
start_bot() {
    local name=$1
    shift
    "$bot" --server 127.0.0.1:$port --desk 1 $people --timeout 60 "$@" >"$dir/$name.out" 2>&1 &
    pid[$name]=$!
    pids+=($!)
}

# wait_entered N: until the server has seen N entries of the watcher (id 3).
wait_entered() {
    for _ in $(seq 300); do
        [ "$(grep -c 'id=3 entered' "$dir/server.out")" -ge "$1" ] && return
        sleep 0.1
    done
    fail "the watcher did not enter"
}

# The first sitting: White asks to seal at ply 30, Black agrees, both store the game. The
# watcher is there from the start.
start_bot watch1 --me watch
wait_entered 1
start_bot white --me white --moves "$moves" --save-records "$dir/white" --request seal@30 \
    --quit-after-result
start_bot black --me black --moves "$moves" --save-records "$dir/black" --quit-after-result
wait_for_line white '^sealed '
wait_for_line black '^sealed '
wait_for_line watch1 '^recv 647 '
wait_for_line watch1 '^notice 双方续盘保存，本局结束！$'
grep -q '^notice 双方续盘保存' "$dir/white.out" && fail "a player was told of its own seal"
wait "${pid[white]}" || fail "white exited with $?"
wait "${pid[black]}" || fail "black exited with $?"
kill "${pid[watch1]}" 2>/dev/null
grep -q '^board .* ply=31' "$dir/white.out" && fail "a move was played after the seal ply"
white_path=$(sed -n 's/^sealed //p' "$dir/white.out")
black_path=$(sed -n 's/^sealed //p' "$dir/black.out")
[ "$white_path" = "$dir/white/White_Black_$(basename "$white_path" | sed 's/^White_Black_//')" ] ||
    fail "white's record is not in its folder under its names: $white_path"
[[ "$black_path" == "$dir/black/Black_White_"*.che ]] || fail "black's record: $black_path"
for f in "$white_path" "$black_path" "$dir/white/resumesChnManager.dat" \
         "$dir/black/resumesChnManager.dat"; do
    [ -s "$f" ] || fail "missing $f"
done
grep -q 'sealed' "$dir/watch1.out" && [ -d "$dir/watch" ] && fail "the watcher stored the game"
grep -q '^recv 651' "$dir/white.out" && fail "a sealed game got a result"

# The second sitting: White asks to resume "White_Black_", Black agrees; all three replay the
# 30 stored moves in order and the game goes on with two more moves.
sleep 0.5
start_bot watch2 --me watch
wait_entered 2
start_bot white2 --me white --moves "$moves" --save-records "$dir/white" \
    --request resume@White_Black_
start_bot black2 --me black --moves "$moves" --save-records "$dir/black"
for name in white2 black2 watch2; do
    wait_for_line $name '^resumed moves=30$'
    wait_for_line $name '^board .* ply=32$'
done
grep -q '^question .*请求续盘，你同意么？ -> agree$' "$dir/black2.out" || fail "black was not asked"
expected=$(tr -s ' \\\n' '\n' <<<"$stored" | grep -v '^$')
for name in white2 black2 watch2; do
    replayed=$(sed -n '/^recv 623 /,$p' "$dir/$name.out" | sed -n 's/^recv 631 move=\([a-h1-8]*\) .*/\1/p' |
               head -n 30)
    [ "$replayed" = "$expected" ] || fail "$name replayed: $(echo $replayed)"
    grep -q '^sent 651' "$dir/$name.out" && fail "$name announced a result during the replay"
done
grep -q 'game resumed, 30 moves' "$dir/server.out" || fail "the server did not take the game"
# A finished game is saved by both players as the client saves it automatically.
mate="f2f3 e7e5 g2g4 d8h4"
start_bot fw --desk 2 --me white --moves "$mate" --save-records "$dir/fw" --quit-after-result
start_bot fb --desk 2 --me black --moves "$mate" --save-records "$dir/fb" --quit-after-result
wait "${pid[fw]}" || fail "fw exited with $?"
wait "${pid[fb]}" || fail "fb exited with $?"
for name in fw fb; do
    path=$(sed -n 's/^saved //p' "$dir/$name.out")
    [[ "$path" == "$dir/$name/"*_[0-9][0-9][0-9][0-9][0-9][0-9]_[0-9][0-9][0-9][0-9].che ]] &&
        [ -s "$path" ] || fail "$name saved '$path'"
done
echo "seal and resume: all checks passed"
