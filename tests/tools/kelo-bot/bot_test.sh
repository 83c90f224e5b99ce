#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole games through the reference server on loopback, two or three kelo-bot processes each,
# and the command line.
# usage: bot_test.sh SERVER BOT SCENARIO
# Every scenario starts its own server on a free port and reads its listening line. Waits are
# generous; nothing is asserted about how long anything took.
set -uo pipefail
source "$(dirname "$0")/../../../scripts/table_server.sh"
source "$(dirname "$0")/../../../scripts/test_helpers.sh"
server=$1
bot=$2
scenario=$3
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

# A second game of a scenario gets a fresh server.
restart_server() {
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    start_server "$@"
}

players="--player 1:white:White:0 --player 2:black:Black:1"

# start_bot NAME ARGS...: a bot in the background, its lines in NAME.out.
declare -A bot_pid
start_bot() {
    local name=$1
    shift
    "$bot" "$@" >"$dir/$name.out" 2>&1 &
    bot_pid[$name]=$!
    pids+=($!)
}
# run_bot NAME ARGS...: a bot that plays one game and leaves.
run_bot() {
    local name=$1
    shift
    start_bot "$name" --timeout 60 --quit-after-result "$@"
}
# The players of a game, White first.
run_players() {
    local moves=$1
    shift
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" "$@"
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves"
}
finish() {
    local name=$1
    wait "${bot_pid[$name]}" || fail "$name exited with $?"
}
# wait_for_line NAME PATTERN [TENTHS]: up to TENTHS tenths of a second (default 600).
expect() { grep -qE "$2" "$dir/$1.out" || fail "$1 did not print /$2/"; }
expect_not() { ! grep -qE "$2" "$dir/$1.out" || fail "$1 printed /$2/"; }
last_board() { grep '^board ' "$dir/$1.out" | tail -n 1 | sed 's/ ply=.*//'; }
# clock_at NAME PLY: the clock line printed after the board of that ply (the first such).
clock_at() {
    awk -v ply="ply=$2" '/^board / && $NF == ply { seen = 1; next } seen && /^clock / { print; exit }' \
        "$dir/$1.out"
}
# clock_value LINE FIELD: one number of a clock line.
clock_value() { sed -n "s/.* $2=\(-*[0-9]*\).*/\1/p" <<<"$1"; }
# same_clocks A B: the same moves made, used times no more than a second apart.
same_clocks() {
    local field a b
    for field in moves0 moves1; do
        [ "$(clock_value "$1" $field)" = "$(clock_value "$2" $field)" ] || return 1
    done
    for field in used0 used1; do
        a=$(clock_value "$1" $field)
        b=$(clock_value "$2" $field)
        [ -n "$a" ] && [ -n "$b" ] && [ $((a - b)) -le 1 ] && [ $((b - a)) -le 1 ] || return 1
    done
}

case $scenario in
fools_mate)
    start_server
    run_players "f2f3 e7e5 g2g4 d8h4"
    finish white
    finish black
    expect white '^sent 651 sender=0 decisive=1 winner=1 reason=651$'
    expect black '^sent 651 sender=1 decisive=1 winner=1 reason=651$'
    for side in white black; do
        expect $side '^recv 651 sender=[01] decisive=1 winner=1 reason=651$'
        expect $side '^sent 3026 '
    done
    ;;
stalemate)
    # White's tenth move leaves Black without a move and not in check.
    start_server
    run_players "e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6"
    finish white
    finish black
    expect white '^sent 651 sender=0 decisive=0 winner=0 reason=2$'
    expect_not black '^sent 651'
    expect black '^recv 651 sender=0 decisive=0 winner=0 reason=2$'
    ;;
five_checks)
    # Black's queen checks five times in a row; White can always step aside.
    start_server
    run_players "f2f3 e7e5 e1f2 d8h4 f2e3 h4g5 e3d3 g5g6 d3c3 g6c6 c3b3 c6b6"
    finish white
    finish black
    expect black '^sent 651 sender=1 decisive=0 winner=1 reason=1$'
    expect_not white '^sent 651'
    expect white '^recv 651 sender=1 decisive=0 winner=1 reason=1$'
    ;;
four_checks)
    # Four checks are no draw: the game goes on until White, out of moves, runs out of time.
    start_server --time 1800,2,10
    run_players "f2f3 e7e5 e1f2 d8h4 f2e3 h4g5 e3d3 g5g6 d3c3 g6c6"
    finish white
    finish black
    expect_not black '^sent 651'
    expect white '^sent 651 sender=0 decisive=1 winner=1 reason=7$'
    expect black '^recv 631 move=g6c6'
    ;;
time_out)
    # Nobody moves: White, to move, loses on time and says so itself.
    start_server --time 1800,2,10
    run_players ""
    finish white
    finish black
    expect white '^sent 651 sender=0 decisive=1 winner=1 reason=7$'
    expect_not black '^sent 651'
    expect black '^recv 651 sender=0 decisive=1 winner=1 reason=7$'
    ;;
watcher)
    # A watcher enters after twelve moves; White holds its mating move until it is there.
    start_server
    run_players "a2a3 a7a6 h2h3 h7h6 b2b3 b7b6 e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7" --wait-watcher 12
    wait_for_line white '^board .* ply=12$'
    run_bot watcher --server 127.0.0.1:$port --desk 1 $players --watcher 3:watch:Watch:1 --me watch
    finish white
    finish black
    finish watcher
    expect watcher '^recv 663 .* count=12$'
    expect watcher '^recv 10001 count=12 moves=a2a3,a7a6,h2h3,h7h6,b2b3,b7b6,e2e4,e7e5,d1h5,b8c6,f1c4,g8f6$'
    # Both players report the mate; the server relays whichever report comes first.
    expect watcher '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    expect_not watcher '^sent 651'
    replayed=$(grep '^board .* ply=12$' "$dir/watcher.out" | sed 's/ ply=.*//')
    played=$(grep '^board .* ply=12$' "$dir/white.out" | sed 's/ ply=.*//')
    [ -n "$replayed" ] && [ "$replayed" = "$played" ] || fail "after 12 moves: '$replayed' vs '$played'"
    for side in black watcher; do
        [ "$(last_board $side)" = "$(last_board white)" ] ||
            fail "$side ends in $(last_board $side), white in $(last_board white)"
    done
    ;;
takeback_agreed)
    # White asks to take back after four plies; Black agrees: two plies go on both players and
    # on the watcher, the move number goes back with them, and the game is played on to a mate.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request takeback@4 --wait-watcher 0 --clock
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --answer yes
    wait_for_line white '^sent 626 '
    run_bot watcher --server 127.0.0.1:$port --desk 1 $players --watcher 3:watch:Watch:0 --me watch
    finish white
    finish black
    finish watcher
    expect white '^sent 636 seat=0 count=1 step=1$'
    expect black '^dialog 对方要悔棋，同意吗？$'
    expect black '^sent 637 seat=0 count=1 step=1 agree=1$'
    expect_not watcher '^dialog 对方要悔棋'
    for side in white black watcher; do
        # The board after the take-back is the one of ply 2, everywhere.
        taken=$(grep '^board ' "$dir/$side.out" | awk '/ply=4$/ { four = 1; next } four { print; exit }')
        [ "$taken" = "$(grep '^board .* ply=2$' "$dir/white.out" | head -n 1)" ] ||
            fail "$side after the take-back: '$taken'"
        [ "$(last_board $side)" = "$(last_board white)" ] || fail "$side ends elsewhere"
        expect $side '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    done
    # The queen's move is sent again with the same move number: the number went back.
    [ "$(grep -c '^sent 631 move=d1h5 .* number=2 ' "$dir/white.out")" = 2 ] ||
        fail "d1h5 was not sent twice with number 2"
    ;;
takeback_refused)
    # Black refuses every take-back: White is told each time, Black never; the fifth request
    # is refused on White's side and only four are sent.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request takeback@4 --request takeback@4 --request takeback@4 \
        --request takeback@4 --request takeback@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --answer no
    finish white
    finish black
    [ "$(grep -c '^sent 636 ' "$dir/white.out")" = 4 ] || fail "white did not send four requests"
    expect white '^sent 636 seat=0 count=4 step=1$'
    expect white '^dialog 您已经超过了允许悔棋的最大次数，不能再悔棋了！$'
    [ "$(grep -c '^dialog 对方不同意悔棋！$' "$dir/white.out")" = 4 ] || fail "white was not told four times"
    expect_not black '^dialog 对方不同意悔棋！'
    [ "$(grep -c '^sent 637 .* agree=0$' "$dir/black.out")" = 4 ] || fail "black did not refuse four times"
    expect white '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    ;;
takeback_countdown)
    # Black leaves the question alone: its countdown, shortened here, refuses for it.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request takeback@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --countdown 2
    finish white
    finish black
    expect black '^sent 637 seat=0 count=1 step=1 agree=0$'
    expect white '^dialog 对方不同意悔棋！$'
    ;;
resign)
    # Black resigns after five plies: a result with reason 8 and the loser's names.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves"
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" \
        --request resign@5
    finish white
    finish black
    expect black '^dialog 您确定要认输么？$'
    expect black '^sent 651 sender=1 decisive=1 winner=0 reason=8$'
    for side in white black; do
        expect $side '^dialog Black\[black\]中途认输！$'
        expect $side '^recv 656 points=10,-10 '
    done
    ;;
draw)
    # An agreed draw ends the game: no result line, no points.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request draw@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --answer yes
    finish white
    finish black
    expect white '^sent 641 seat=0 number=3$'
    expect black '^dialog “White”要和棋，您同意么？$'
    expect black '^sent 642 seat=1 number=3 agree=1$'
    for side in white black; do
        expect $side '^recv 656 points=0,0 '
        expect $side '^dialog $'
        expect_not $side '^recv 631 move=f1c4'
    done
    ;;
exchange)
    # White asks to exchange colours before the start; Black agrees: Black's seat moves
    # first with White's pieces, and the watcher is told.
    start_server
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "f2f3 e7e5 g2g4 d8h4" --request exchange@0
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "f2f3 e7e5 g2g4 d8h4" --answer yes
    run_bot watcher --server 127.0.0.1:$port --desk 1 $players --watcher 3:watch:Watch:0 --me watch
    finish white
    finish black
    finish watcher
    expect white '^sent 616 seat=0 next=1$'
    expect black '^sent 617 seat=1 agree=1 first=1$'
    expect watcher '^dialog 双方交换执子色！$'
    expect_not white '^dialog 双方交换'
    for side in white black watcher; do
        expect $side '^recv 627 first=1$'
        expect $side '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    done
    expect black '^sent 631 move=f2f3 '
    expect white '^sent 631 move=e7e5 '
    ;;
exchange_in_game)
    # White asks to exchange colours during the game, after 1.e4 e5 2.Nf3 Nc6, and Black would
    # agree at once (White thinks long enough for it): the server refuses the request, and the
    # game goes on to White's mate with the colours it began with.
    start_server
    moves="e2e4 e7e5 g1f3 b8c6 f1c4 d7d6 b1c3 c8g4 f3e5 g4d1 c4f7 e8e7 c3d5"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" \
        --request exchange@4 --think 2
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" \
        --answer yes --answer-after 0
    finish white
    finish black
    expect white '^request exchange$'
    expect white '^sent 616 seat=0 next=1$'
    allowed_violation='an exchange of colours during a game'
    grep -qE "^violation .*$allowed_violation" "$dir/server.out" ||
        fail "the server did not refuse the exchange"
    expect_not black '^recv 616'
    expect_not black '^dialog 对方想要交换'
    expect_not black '^sent 617'
    for side in white black; do
        expect $side '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    done
    expect white '^sent 631 move=c3d5 '
    ;;
leave_now)
    # Leaving at once after move 10 resigns first; at move 10 or earlier only the leave
    # message goes, with reason 1.
    start_server
    moves="a2a3 a7a6 b2b3 b7b6 c2c3 c7c6 d2d3 d7d6 e2e3 e7e6 f2f3 f7f6 g2g3 g7g6 h2h3 h7h6 a3a4 a6a5 b3b4 b6b5"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request leave-now@20
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves"
    finish white
    finish black
    [ "$(grep -E '^sent (651|3026) ' "$dir/white.out" | head -n 2 | cut -d' ' -f2 | tr '\n' ' ')" = "651 3026 " ] ||
        fail "white did not resign before leaving"
    expect white '^sent 651 sender=0 decisive=1 winner=1 reason=8$'
    expect white '^sent 3026 id=0 seat=0 reason=0$'
    expect black '^dialog White\[white\]中途认输！$'
    restart_server
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request leave-now@2
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves"
    finish white
    finish black
    expect white '^sent 3026 id=0 seat=0 reason=1$'
    expect_not white '^sent 651'
    expect black '^table closed$'
    ;;
leave_asked)
    # Asking to leave: refused, the server asks the player to play on, and the game goes on
    # to its end; agreed, the server lets the player go and every table closes.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request leave@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --answer no
    finish white
    finish black
    expect white '^sent 3031 id=1 seat=0$'
    expect black '^dialog 对方请求退出，你同意么？$'
    expect black '^sent 3032 id=2 seat=1 requester=1 refused=1$'
    expect white '^notice 请不要中途退出，玩完这把好吧？$'
    expect_not black '请不要中途退出'
    expect white '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    restart_server
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" --request leave@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" --answer yes
    finish white
    finish black
    for side in white black; do
        expect $side '^recv 3026 id=1 seat=0 reason=0$'
        expect $side '^table closed$'
    done
    ;;
seal_refused)
    # White asks to seal after four plies; Black refuses: only White is told, in the button
    # board's notice, and the game is played on to its mate.
    start_server
    moves="e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    run_bot white --server 127.0.0.1:$port --desk 1 $players --me white --moves "$moves" \
        --save-records "$dir/white" --request seal@4
    run_bot black --server 127.0.0.1:$port --desk 1 $players --me black --moves "$moves" \
        --save-records "$dir/black" --answer no
    finish white
    finish black
    expect white '^sent 646 '
    expect black '^question 对方请求封盘进入下一局，你同意么？ -> refuse$'
    expect black '^sent 647 seat=1 .*agree=0'
    expect white '^notice 对方不同意你的续盘退出请求！$'
    expect_not black '对方不同意你的续盘退出请求'
    expect_not white '^sealed '
    for side in white black; do
        expect $side '^recv 651 sender=[01] decisive=1 winner=0 reason=651$'
    done
    ;;
local)
    # No server: a prepare message starts the game with seat 0, and every move comes back.
    run_bot local --local $players --me white --moves "f2f3 e7e5 g2g4 d8h4"
    finish local
    expect local '^sent 627 first=0$'
    expect local '^recv 627 first=0$'
    for move in f2f3 e7e5 g2g4 d8h4; do
        expect local "^sent 631 move=$move "
        expect local "^recv 631 move=$move "
    done
    expect local '^recv 651 sender=0 decisive=1 winner=1 reason=651$'
    ;;
next_game)
    # A game with pauses to a result, then the next game of the desk: its clocks start from
    # nothing, although the first game left time and moves on both.
    start_server --time 600,60,0
    for side in white black; do
        start_bot $side --timeout 60 --server 127.0.0.1:$port --desk 1 $players --me $side \
            --moves "f2f3 e7e5 g2g4 d8h4" --think 1 --clock
    done
    for side in white black; do
        wait_for_line $side '^clock .*' # the start of the first game
        for _ in $(seq 300); do
            second=$(awk '/^recv 627 / { n++ } n == 2 && /^clock / { print; exit }' "$dir/$side.out")
            [ -n "$second" ] && break
            sleep 0.1
        done
        [ -n "$second" ] || fail "$side never started a second game"
        first=$(clock_at $side 4)
        [ "$(clock_value "$first" moves0)" = 2 ] && [ "$(clock_value "$first" moves1)" = 2 ] &&
            [ "$(clock_value "$first" used1)" -gt 0 ] ||
            fail "$side ended the first game with '$first'"
        [ "$second" = "clock used0=0 used1=0 moves0=0 moves1=0 step=0" ] ||
            fail "$side began the second game with '$second'"
    done
    ;;
rejoin)
    # White is killed in the middle of a game and comes back with the same identity: after
    # the replay, and after two more moves, its clocks are Black's, which stayed.
    start_server --time 600,60,0
    moves="e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5"
    for side in white black; do
        start_bot $side --timeout 60 --server 127.0.0.1:$port --desk 1 $players --me $side \
            --moves "$moves" --think 2 --clock
    done
    wait_for_line white '^board .* ply=4$'
    kill -9 "${bot_pid[white]}"
    wait "${bot_pid[white]}" 2>/dev/null
    start_bot back --timeout 60 --server 127.0.0.1:$port --desk 1 $players --me white \
        --moves "$moves" --think 2 --clock
    wait_for_line back '^recv 663 .* count=4$'
    for ply in 4 6; do
        wait_for_line back "^board .* ply=$ply\$"
        wait_for_line black "^board .* ply=$ply\$"
        wait_for_line black '^clock ' # printed right after its board
        stayed=$(clock_at black $ply)
        returned=$(clock_at back $ply)
        same_clocks "$stayed" "$returned" ||
            fail "after ply $ply: black shows '$stayed', white back '$returned'"
    done
    expect_not black 'connection lost'
    ;;
absent_time_out | absent_seat_hold)
    # Black is killed (kill -9) while it is to move and does not come back; White, waiting,
    # ends with the game as Black's loss on time, its scores and its record. In absent_time_out
    # Black's move time runs out first and White claims the loss, which the server's own clocks
    # confirm; in absent_seat_hold the seat's hold ends first and the server gives the result
    # before it gives the seat up.
    if [ $scenario = absent_time_out ]; then
        start_server --time 1800,5,0 --seat-hold 60
        sender=0
    else
        start_server --time 1800,60,0 --seat-hold 3
        sender=65535
    fi
    for side in white black; do
        start_bot $side --timeout 60 --server 127.0.0.1:$port --desk 1 $players --me $side \
            --moves "e2e4" --save-records "$dir/$side-records"
    done
    wait_for_line black '^board .* ply=1$'
    kill -9 "${bot_pid[black]}"
    wait "${bot_pid[black]}" 2>/dev/null
    wait_for_line white "^recv 651 sender=$sender decisive=1 winner=0 reason=7\$" 30
    wait_for_line white '^recv 656 points=10,-10 '
    wait_for_line white '^saved .*\.che$'
    [ $scenario = absent_time_out ] && expect white '^sent 651 sender=0 decisive=1 winner=0 reason=7$'
    [ $scenario = absent_seat_hold ] && expect_not white '^sent 651'
    grep -q 'game over, points 10 -10' "$dir/server.out" || fail "the server did not score the loss"
    if [ $scenario = absent_seat_hold ]; then
        grep -q 'seat 1 loses: id=2 did not come back' "$dir/server.out" ||
            fail "the server did not report the loss"
        # The seat is given up only after the result and the scores.
        wait_for_line white '^recv 3026 id=2 seat=1 reason=2$'
        [ "$(grep -nE '^recv (651|656|3026) ' "$dir/white.out" | cut -d' ' -f2 | tr '\n' ' ')" = \
            "651 656 3026 " ] || fail "white's result, scores and 3026 came in the wrong order"
    fi
    ;;
long_think)
    # White thinks for 50 s over its first move; the server's keep-alives keep both links
    # alive through the quiet table.
    start_server --time 1800,120,0
    start_bot white --timeout 100 --server 127.0.0.1:$port --desk 1 $players --me white \
        --moves "e2e4 e7e5" --think 50 --clock
    start_bot black --timeout 100 --server 127.0.0.1:$port --desk 1 $players --me black \
        --moves "e2e4 e7e5" --clock
    wait_for_line black '^recv 631 move=e2e4 ' 90
    wait_for_line white '^recv 631 move=e7e5 '
    for side in white black; do
        expect_not $side 'connection lost'
        kill -0 "${bot_pid[$side]}" 2>/dev/null || fail "$side has gone"
    done
    wait_for_line black '^clock .* moves0=1 '
    used=$(clock_value "$(clock_at black 1)" used0)
    [ "${used:-0}" -ge 46 ] || fail "white's move took $used s, not the 50 s of a long think"
    ;;
login_elsewhere)
    # A login elsewhere (3004) makes the bot leave at once with a message and status 1.
    server="$(dirname "$0")/login_elsewhere_server.py"
    start_server
    "$bot" --server 127.0.0.1:$port --desk 1 $players --me white --timeout 20 >"$dir/white.out" 2>&1
    status=$?
    [ $status = 1 ] || fail "white exited with $status"
    expect white "^logged in elsewhere"
    expect_not white "^timeout"
    wait "$server_pid" || fail "the server never saw the bot leave"
    grep -q "^client left" "$dir/server.out" || fail "the bot did not leave"
    server_pid=
    ;;
command_line)
    # A bad person is refused with one line and status 2; --help says how a watcher watches.
    for bad in "--player 1:a:A:2" "--watcher 3:w:W:0:2" "--watcher 3:w:W"; do
        "$bot" --local --me a $bad >/dev/null 2>"$dir/error.out"
        status=$?
        [ $status = 2 ] && [ "$(wc -l <"$dir/error.out")" = 1 ] &&
            grep -q -- "${bad%% *}" "$dir/error.out" || fail "$bad gave status $status"
    done
    # Read whole: grep -q leaves at the first match, and a writer cut off is a failure here.
    "$bot" --help >"$dir/help.out"
    grep -q 'WATCHNO\[:SEAT\]' "$dir/help.out" || fail "--help has no watcher form"
    # A chat line needs its ply.
    for bad in "hello" "hello@" "@3" "hi@x"; do
        "$bot" --local --me a --player 1:a:A:0 --say "$bad" >/dev/null 2>"$dir/error.out"
        status=$?
        [ $status = 2 ] && grep -q -- "--say needs TEXT@PLY" "$dir/error.out" ||
            fail "--say $bad gave status $status"
    done
    grep -q -- '--say TEXT@PLY' "$dir/help.out" || fail "--help has no --say"
    ;;
*)
    fail "no such scenario"
    ;;
esac
if [ -n "$server_pid" ]; then
    # A scenario that provokes a violation names it; any other one fails.
    grep '^violation' "$dir/server.out" | grep -qv -- "${allowed_violation:-^$}" &&
        fail "the server counted violations"
fi
echo "ok $scenario"
