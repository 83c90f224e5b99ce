#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The fault run: a game between the table window and kelo-bot through the reference server,
# and the server killed in the middle of it, twice.
#   1. The server is killed and started again on the same port before the client's first
#      attempt: the client reconnects at that attempt and does not give up.
#   2. The server is killed for good: the client retries, gives up with its question, and the
#      game is saved (the question answered "保存"); the record holds every move played.
# The window runs on a virtual screen of its own (Xvfb), started by kelo-hall on a session bus
# of its own; its moves are mouse clicks at the squares the skin places. Loopback only, under a
# minute: the client notices the closed connection at once (one chat line for the outage) and
# tries again 5 s later, and every 5 s after a failed attempt.
# With KELO_FAULT_GAME_ONLY=1 it stops after the game's moves (a game between the window and a
# bot through the server, about 10 s). A missing tool skips it with status 77.
# Usage: scripts/fault_run.sh [BUILD_FOLDER] (default build). Prints the figures and "PASS" or
# "FAIL: ..." and exits 0 or 1.
set -u
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/test_helpers.sh"
own_session_bus KELO_FAULT_RUN_BUS "$0" "$build"
source "$here/xvfb_display.sh"
source "$here/table_server.sh"
source "$here/window_game.sh"
need_tools Xvfb xdotool
window_game_programs "$build"

work=$(mktemp -d)
own_folders "$work" '[chessgame]\r\nmanualpath=%s/records/\r\n' "$work"
server_pid="" client_pid="" hall_pid="" bot_pid="" XVFB_PID=""
# Only what this script started is ended.
cleanup() {
    for pid in $server_pid $bot_pid $hall_pid $client_pid $XVFB_PID; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    [ -n "${KELO_FAULT_KEEP:-}" ] && mkdir -p "$KELO_FAULT_KEEP" && cp "$work"/*.log "$work"/*.png "$KELO_FAULT_KEEP"/ 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -n "${KELO_FAULT_KEEP:-}" ] && command -v import >/dev/null && import -window root "$work/fail.png"
    for log in "$work"/*.log; do
        echo "== $(basename "$log")"
        tail -n 40 "$log"
    done
    exit 1
}
now_ms() { date +%s%3N; }

start_server() { # LOG [PORT]
    "$server" --port "${2:-0}" >"$1" 2>&1 &
    server_pid=$!
    port=$(listening_port "$1") || fail "the server did not start"
}
kill_server() {
    kill -9 "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=""
}

start_xvfb 1280x1024 "$work" || exit 1
start_server "$work/server1.log"
# White is the window; Black is the bot, which answers with its half of this line.
line="e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5"
start_window_game "$work/server1.log" "$line" 120
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.2; }

# "开始", then the window's moves, each after the bot's answer to the one before.
# The button is enabled once the table's settings have arrived; pressed until the game begins.
for _ in $(seq 10); do
    click_at $((X + buttons_left + button_w / 2)) $((Y + buttons_top + button_h / 2))
    wait_for "$work/server1.log" 'game begins' 1 && break
done
grep -q 'game begins' "$work/server1.log" || fail "the game did not begin"
plies=0
for move in $line; do
    plies=$((plies + 1))
    if [ $((plies % 2)) -eq 1 ]; then
        click_at $(centre "${move:0:2}")
        click_at $(centre "${move:2:2}")
    fi
    wait_for "$work/bot.log" "^board .*" 5 || true
    for _ in $(seq 50); do
        [ "$(grep -c '^board ' "$work/bot.log")" -ge "$plies" ] && break
        sleep 0.1
    done
    [ "$(grep -c '^board ' "$work/bot.log")" -ge "$plies" ] || fail "ply $plies ($move) was not played"
done
echo "played: $plies plies ($line)"
if [ -n "${KELO_FAULT_GAME_ONLY:-}" ]; then
    echo "PASS: $plies plies between the window and the bot through the server"
    exit 0
fi

# 1. Killed, and back before the client's first attempt.
killed=$(now_ms)
kill_server
# The closed connection is told at once; the first attempt follows 5 s later.
wait_for "$work/client.log" '正在断线重连' 20 || fail "the client did not notice the server gone"
noticed=$(now_ms)
start_server "$work/server2.log" "$port"
returned=$(now_ms)
wait_for "$work/server2.log" 'id=100 entered' 15 || fail "the client did not reconnect"
back=$(now_ms)
grep -q '不能连接服务器' "$work/client-questions.log" && fail "the client gave up although the server came back"
echo "noticed: $((noticed - killed)) ms after the kill; reconnected $((back - returned)) ms after the server's return"
# The attempt comes 5 s after the close.
[ $((back - returned)) -le 6000 ] || fail "the reconnection came $((back - returned)) ms after the server's return"

# 2. Killed for good: three attempts, the question, the game saved.
killed=$(now_ms)
kill_server
wait_for "$work/client.log" '^save: 2 ' 80 || fail "the client did not save the game on giving up"
gave_up=$(now_ms)
grep -q 'question: 不能连接服务器，游戏结束，您要保存棋局么？ -> 保存' "$work/client-questions.log" ||
    fail "the give-up question was not asked"
saved=$(sed -n 's/^save: 2 //p' "$work/client.log" | tail -n1)
[ -f "$saved" ] || fail "no record at $saved"
# The moves follow the "moves: N" line, a move pair a line.
info=$("$record" info "$saved") || fail "kelo-record cannot read $saved"
stored=$(echo "$info" | sed -n '/^moves:/,$p' | tail -n +2 | tr -s ' \n' ' ' | sed 's/ $//')
[ "$stored" = "$line" ] || fail "the record holds '$stored', not '$line'"
echo "gave up: $((gave_up - killed)) ms after the kill; saved $saved"
echo "PASS: the window reconnected once and, given up, saved all $plies plies"
