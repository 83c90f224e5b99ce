#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelo-bot with a chess engine, at the reference server on loopback: the fake engine of the
# tests failing or stalling, stockfish's weakest level against its strongest, and the command
# line's engine reports.
# usage: engine_test.sh SERVER BOT FAKE_ENGINE SCENARIO
# The fake engine takes its options from FAKE_UCI_ENGINE_ARGS, set per bot. Waits are generous;
# the only times checked are the table's own clocks.
set -uo pipefail
source "$(dirname "$0")/../../../scripts/table_server.sh"
source "$(dirname "$0")/../../../scripts/test_helpers.sh"
server=$1
bot=$2
fake=$3
scenario=$4
dir=$(mktemp -d)
pids=()
server_pid=

trap stop_all EXIT

fail() {
    echo "FAIL ($scenario): $*"
    show_logs
    exit 1
}

start_server() {
    "$server" --port 0 "$@" >"$dir/server.out" 2>&1 &
    server_pid=$!
    port=$(listening_port "$dir/server.out") || fail "the server did not listen"
}

players="--player 1:white:White:0 --player 2:black:Black:1"

# start_bot NAME FAKE_ARGS ARGS...: an engine bot in the background on the fake engine with
# those options (none: the fake's defaults), its lines in NAME.out.
declare -A bot_pid
start_bot() {
    local name=$1 fake_args=$2
    shift 2
    FAKE_UCI_ENGINE_ARGS="$fake_args" "$bot" --server 127.0.0.1:$port --desk 1 $players \
        --me "$name" "$@" >"$dir/$name.out" 2>"$dir/$name.err" &
    bot_pid[$name]=$!
    pids+=($!)
}
finish() {
    local name=$1 expected=${2:-0} status
    wait "${bot_pid[$name]}"
    status=$?
    [ $status = "$expected" ] || fail "$name exited with $status, not $expected"
}
expect() { grep -qE "$2" "$dir/$1.out" || fail "$1 did not print /$2/"; }
expect_not() { ! grep -qE "$2" "$dir/$1.out" || fail "$1 printed /$2/"; }
count() { grep -cE "$2" "$dir/$1.out"; }

case $scenario in
engine_crash)
    # White's engine is killed in its third search, in every game (the fake engine crashes
    # after two searches each time it starts). Each time White says so in the chat, resigns the
    # game and starts its engine again for the next one; the third time it leaves with status
    # 3. Black, whose engine is well, wins the three games by resignation and sees White go.
    start_server
    start_bot white "--crash-after 2 --name 'Fake Crash'" --engine "$fake" --timeout 60
    start_bot black "--name Fake" --engine "$fake" --timeout 60
    finish white 3
    finish black 0
    expect white '^engine ready name=Fake Crash$'
    [ "$(count white '^sent 3021 .*你好！我是 Fake Crash（4级）。祝你下得开心！$')" = 1 ] ||
        fail "white did not greet the table once"
    [ "$(count white '^engine gone ')" = 3 ] || fail "white did not report the engine gone three times"
    [ "$(count white '^sent 3021 .*电脑棋手的引擎出错了（.*），本局认输。引擎正在重新启动。$')" = 2 ] ||
        fail "white did not say twice that its engine failed and is starting again"
    [ "$(count white '^sent 3021 .*电脑棋手的引擎出错了（.*），本局认输。不能再下了。$')" = 1 ] ||
        fail "white did not say once that it can play no more"
    [ "$(count white '^engine ready again$')" = 2 ] || fail "the engine did not start again twice"
    [ "$(count black '^recv 3021 .*电脑棋手的引擎重新启动好了')" = 2 ] ||
        fail "black was not told twice that the engine is back"
    [ "$(count white '^sent 631 ')" = 6 ] || fail "white did not make its two moves in each game"
    [ "$(count black '^recv 651 sender=0 decisive=1 winner=1 reason=8$')" = 3 ] ||
        fail "black did not win the three games by resignation"
    expect white '^sent 3026 '
    expect black '^table closed$'
    ;;
engine_stall)
    # White's engine ignores its time and answers only "stop", at 3 s a move: White still
    # moves in time, move after move, and nobody loses on time. Black takes level commands on
    # its standard input.
    start_server --time 60,3,0
    start_bot white "--stall until-stop --pick random" --engine "$fake" --level 8 --timeout 60
    FAKE_UCI_ENGINE_ARGS="--pick random" "$bot" --server 127.0.0.1:$port --desk 1 $players \
        --me black --engine "$fake" --control-stdin --timeout 60 \
        <<<$'level 6\nlevel 9\nfaster please' >"$dir/black.out" 2>"$dir/black.err" &
    bot_pid[black]=$!
    pids+=($!)
    wait_for_line white '^sent 631 .* number=6 '
    for side in white black; do
        expect_not $side '^(sent|recv) 651 '
        kill -0 "${bot_pid[$side]}" 2>/dev/null || fail "$side has gone"
    done
    # The clock field of a move is the seconds its mover's clock ran: within the 3 s.
    while read -r clock; do
        [ "$clock" -lt 3 ] || fail "white moved after $clock s"
    done < <(sed -n 's/^sent 631 .* clock=\([0-9]*\)$/\1/p' "$dir/white.out")
    expect_not white '^engine own move'
    expect black '^control: level 6 from the next game$'
    expect black '^control: not understood: level 9$'
    expect black '^control: not understood: faster please$'
    expect black '^sent 3021 .*说：好的，从下一局起我按6级下。$'
    ;;
engine_stockfish)
    # Level 1 against level 8 with stockfish, 60 s a player, 10 s a move, 1 s added: level 8
    # wins, nobody on time.
    if ! command -v stockfish >/dev/null && [ ! -x /usr/games/stockfish ]; then
        [ -n "${CI:-}" ] && fail "stockfish is not installed"
        echo "SKIP: stockfish is not installed"
        exit 77
    fi
    start_server --time 60,10,1
    start_bot white "" --engine --level 1 --timeout 150 --quit-after-result
    start_bot black "" --engine --level 8 --timeout 150 --quit-after-result
    finish white
    finish black
    expect white '^engine ready name=Stockfish'
    for side in white black; do
        expect $side '^recv 651 sender=[01] decisive=1 winner=1 reason=(651|8)$'
        expect_not $side 'reason=7$'
    done
    ;;
engine_command_line)
    # No engine: "engine missing", status 3, no connection tried; an engine that ends at its
    # start: "engine gone", status 3. Bad values are refused with status 2.
    start_server
    "$bot" --server 127.0.0.1:$port --desk 1 $players --me white --engine /nonexistent/engine \
        >"$dir/missing.out" 2>&1
    status=$?
    [ $status = 3 ] || fail "a missing engine gave status $status"
    [ "$(head -n 1 "$dir/missing.out" | cut -c1-15)" = "engine missing " ] || fail "no 'engine missing' line"
    expect_not missing '^sent '
    FAKE_UCI_ENGINE_ARGS="--exit-at-start 1" "$bot" --server 127.0.0.1:$port --desk 1 $players \
        --me white --engine "$fake" >"$dir/gone.out" 2>&1
    status=$?
    [ $status = 3 ] || fail "an engine that ended at once gave status $status"
    expect gone '^engine gone .'
    expect_not gone '^sent '
    expect_error "$bot" "--level" --server 127.0.0.1:1 --desk 1 --player 1:a:A:0 --me a --engine --level 9
    expect_error "$bot" "--engine" --server 127.0.0.1:1 --desk 1 --player 1:a:A:0 --me a --level 3
    expect_error "$bot" "--engine" --server 127.0.0.1:1 --desk 1 --player 1:a:A:0 --me a --engine --moves e2e4
    [ "$failures" = 0 ] || fail "bad values were not refused"
    "$bot" --help >"$dir/help.out"
    expect help '^  --engine \[COMMAND\]'
    expect help '^ +8 +full +- +- +by clock +yes$'
    ;;
*)
    fail "no such scenario"
    ;;
esac
if [ -n "$server_pid" ]; then
    grep -q '^violation' "$dir/server.out" && fail "the server counted violations"
fi
echo "ok $scenario"
