#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the pictures of a table at the reference server from the real programs, at both skin
# sizes: the window (alice, White) started by kelo-hall on a session bus of its own, kelo-bot as
# the opponent (bob, Black) and a second kelo-bot as a watcher (carol), a few moves into a game,
# with a chat line of each of them.
#   scripts/table_shots.sh [BUILD_FOLDER] [OUT_FOLDER]
# Writes OUT/table-1024.png and OUT/table-800.png (OUT is docs/ by default). Needs Xvfb,
# xdotool, ImageMagick and dbus-run-session.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mkdir -p "${2:-$here/../docs}" && cd "${2:-$here/../docs}" && pwd)
source "$here/test_helpers.sh"
own_session_bus KELO_TABLE_SHOTS_BUS "$0" "$build" "$out"
source "$here/xvfb_display.sh"
source "$here/table_server.sh"
need_tools Xvfb xdotool import

client=$build/kelo-chess
server=$build/tools/table-server/kelo-table-server
bot=$build/tools/kelo-bot/kelo-bot
hall=$build/tools/kelo-hall/kelo-hall

pids=() work=""
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "$work" ] && rm -rf "$work"
    pids=() XVFB_PID="" work=""
}
trap cleanup EXIT
stop() {
    echo "table_shots: $*" >&2
    for log in "$work"/*.log; do
        echo "== $(basename "$log")" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

# White's moves are typed into the window's move box; the bot answers with Black's.
line="e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5"
white=(e2e4 g1f3 f1c4 d2d3)
people="--player 100:alice:Alice:0 --player 200:bob:Bob:1 --watcher 300:carol:Carol:1"

shoot() {
    local size=$1 screen=$2
    work=$(mktemp -d)
    start_xvfb "$screen" "$work"
    own_folders "$work" '[chessgame]\nsound=0\nsavetype=0\nmanualpath=%s/records/\n' "$work"
    "$server" --port 0 >"$work/server.log" 2>&1 &
    pids+=($!)
    local port
    port=$(listening_port "$work/server.log") || stop "the server did not start"
    QT_QPA_PLATFORM=xcb KELO_AUTO_ANSWER=yes "$client" -Embedding >"$work/client.log" 2>&1 &
    local client_pid=$!
    pids+=("$client_pid")
    wait_for "$work/client.log" '^registered' 10 || stop "the client did not offer the hall interface"
    # shellcheck disable=SC2086
    "$hall" $people --me alice --desk 1 --server "127.0.0.1:$port" >"$work/hall.log" 2>&1 &
    pids+=($!)
    # shellcheck disable=SC2086
    "$bot" --server "127.0.0.1:$port" --desk 1 $people --me bob --moves "$line" --timeout 120 \
        --say "你好，请多指教！@0" >"$work/bot.log" 2>&1 &
    pids+=($!)
    local window
    window=$(window_of "$client_pid") || stop "no window"
    xdotool windowmove "$window" 0 0
    wait_for "$work/server.log" 'id=100 entered' 10 || stop "the window did not enter the table"
    wait_for "$work/server.log" 'id=200 entered' 10 || stop "the bot did not enter the table"
    # shellcheck disable=SC2086
    "$bot" --server "127.0.0.1:$port" --desk 1 $people --me carol --timeout 120 \
        --say "观战学习一下@2" >"$work/watcher.log" 2>&1 &
    pids+=($!)
    wait_for "$work/server.log" 'id=300 entered' 10 || stop "the watcher did not enter the table"
    sleep 1
    xdotool windowactivate "$window" 2>/dev/null || true
    xdotool key alt+k
    local ply=0 move
    for move in "${white[@]}"; do
        xdotool key ctrl+m
        xdotool type --delay 30 "$move"
        xdotool key Return
        ply=$((ply + 2))
        wait_for "$work/bot.log" '^recv 631 ' 20 "$ply" || stop "no answer to $move"
    done
    sleep 1.5
    import -window "$window" "$out/table-$size.png"
    cleanup
}

shoot 1024 1280x1024
shoot 800 1000x740
ls -l "$out"/table-1024.png "$out"/table-800.png
