#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The levels of kelo-bot's chess engine against each other: GAMES games (default 10) of level
# LOW (default 1) against level HIGH (default 8) at the reference server with 60 s a player,
# 10 s a move and 1 s added, colours alternating, one server per game. Prints one line per game
# (who had White, the result and its reason, the plies, the seconds it took, the moves each
# side made without its engine) and the score of each level; a draw counts half.
# Needs stockfish (or ENGINE, a command as kelo-bot's --engine takes it). Every game is bounded
# by 200 s. Slow, so not part of ctest.
# usage: bench/engine_levels.sh [SERVER [BOT]]   (defaults: the build/ programs)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/table_server.sh
server=$(realpath "${1:-build/tools/table-server/kelo-table-server}")
bot=$(realpath "${2:-build/tools/kelo-bot/kelo-bot}")
games=${GAMES:-10}
low=${LOW:-1}
high=${HIGH:-8}
engine=${ENGINE:-}
[ -x "$server" ] && [ -x "$bot" ] || { echo "build first: $server, $bot" >&2; exit 1; }
dir=$(mktemp -d)
server_pid=
bot_pids=()
cleanup() {
    for pid in "${bot_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

people="--player 1:white:White:0 --player 2:black:Black:1"
points_low=0
points_high=0
for game in $(seq "$games"); do
    # Odd games: the higher level has White.
    if [ $((game % 2)) = 1 ]; then white=$high black=$low; else white=$low black=$high; fi
    "$server" --port 0 --time 60,10,1 >"$dir/server.out" 2>&1 &
    server_pid=$!
    port=$(listening_port "$dir/server.out") || { echo "the server did not listen"; exit 1; }
    start=$(date +%s)
    bot_pids=()
    for side in white black; do
        level=$([ $side = white ] && echo "$white" || echo "$black")
        "$bot" --server 127.0.0.1:$port --desk 1 $people --me $side --engine ${engine:+"$engine"} \
            --level "$level" --quit-after-result --timeout 200 >"$dir/$side.out" 2>"$dir/$side.err" &
        bot_pids+=($!)
    done
    for pid in "${bot_pids[@]}"; do wait "$pid"; done
    bot_pids=()
    seconds=$(($(date +%s) - start))
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=
    plies=$(grep -c '^recv 631 ' "$dir/white.out")
    own_white=$(grep -c '^engine own move' "$dir/white.out")
    own_black=$(grep -c '^engine own move' "$dir/black.out")
    result=$(grep -m1 -E '^recv 651 ' "$dir/white.out")
    decisive=$(sed -n 's/.* decisive=\([0-9]*\) .*/\1/p' <<<"$result")
    winner=$(sed -n 's/.* winner=\([0-9]*\) .*/\1/p' <<<"$result")
    reason=$(sed -n 's/.* reason=\([0-9]*\)$/\1/p' <<<"$result")
    if [ -z "$result" ]; then
        outcome="no result"
        if grep -q '^recv 656 points=0,0' "$dir/white.out"; then outcome="draw agreed"; fi
    elif [ "$decisive" = 1 ]; then
        [ "$winner" = 0 ] && outcome="level $white (White) wins" || outcome="level $black (Black) wins"
    else
        outcome="draw"
    fi
    case $outcome in
    "level $high"*) points_high=$((points_high + 2)) ;;
    "level $low"*) points_low=$((points_low + 2)) ;;
    draw*)
        points_high=$((points_high + 1))
        points_low=$((points_low + 1))
        ;;
    esac
    printf 'game %2d: White level %d, Black level %d: %s (reason %s), %d plies, %d s, own moves %d/%d\n' \
        "$game" "$white" "$black" "$outcome" "${reason:--}" "$plies" "$seconds" "$own_white" "$own_black"
done
half() { echo "$(($1 / 2))$([ $(($1 % 2)) = 1 ] && echo .5)"; }
echo "score: level $high $(half $points_high), level $low $(half $points_low) of $games games"
