#!/usr/bin/env bash
# Whole games through the reference server on loopback, two or three kelo-bot processes each,
# and the command line.
# usage: bot_test.sh SERVER BOT SCENARIO
# Every scenario starts its own server on a free port and reads its listening line. Waits are
# generous; nothing is asserted about how long anything took.
set -uo pipefail
server=$1
bot=$2
scenario=$3
dir=$(mktemp -d)
pids=()
server_pid=

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($scenario): $*"
    for f in "$dir"/*.out; do
        echo "== $(basename "$f")"
        cat "$f"
    done
    exit 1
}

start_server() {
    "$server" --port 0 "$@" >"$dir/server.out" 2>&1 &
    server_pid=$!
    for _ in $(seq 100); do
        port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$dir/server.out")
        [ -n "$port" ] && return
        sleep 0.1
    done
    fail "the server did not listen"
}

players="--player 1:white:White:0 --player 2:black:Black:1"

# run_bot NAME ARGS...: a bot in the background, its lines in NAME.out.
declare -A bot_pid
run_bot() {
    local name=$1
    shift
    "$bot" --timeout 60 --quit-after-result "$@" >"$dir/$name.out" 2>&1 &
    bot_pid[$name]=$!
    pids+=($!)
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
wait_for_line() {
    local name=$1 pattern=$2
    for _ in $(seq 600); do
        grep -qE "$pattern" "$dir/$name.out" && return
        sleep 0.1
    done
    fail "$name never printed /$pattern/"
}
expect() { grep -qE "$2" "$dir/$1.out" || fail "$1 did not print /$2/"; }
expect_not() { ! grep -qE "$2" "$dir/$1.out" || fail "$1 printed /$2/"; }
last_board() { grep '^board ' "$dir/$1.out" | tail -n 1 | sed 's/ ply=.*//'; }

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
    expect watcher '^recv 651 sender=0 decisive=1 winner=0 reason=651$'
    expect_not watcher '^sent 651'
    replayed=$(grep '^board .* ply=12$' "$dir/watcher.out" | sed 's/ ply=.*//')
    played=$(grep '^board .* ply=12$' "$dir/white.out" | sed 's/ ply=.*//')
    [ -n "$replayed" ] && [ "$replayed" = "$played" ] || fail "after 12 moves: '$replayed' vs '$played'"
    for side in black watcher; do
        [ "$(last_board $side)" = "$(last_board white)" ] ||
            fail "$side ends in $(last_board $side), white in $(last_board white)"
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
command_line)
    # A bad person is refused with one line and status 2; --help says how a watcher watches.
    for bad in "--player 1:a:A:2" "--watcher 3:w:W:0:2" "--watcher 3:w:W"; do
        "$bot" --local --me a $bad >/dev/null 2>"$dir/error.out"
        status=$?
        [ $status = 2 ] && [ "$(wc -l <"$dir/error.out")" = 1 ] &&
            grep -q -- "${bad%% *}" "$dir/error.out" || fail "$bad gave status $status"
    done
    "$bot" --help | grep -q 'WATCHNO\[:SEAT\]' || fail "--help has no watcher form"
    ;;
*)
    fail "no such scenario"
    ;;
esac
if [ -n "$server_pid" ]; then
    grep -q ' violation' "$dir/server.out" && fail "the server counted violations"
fi
echo "ok $scenario"
