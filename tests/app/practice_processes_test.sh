#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The programs a game against the computer starts end with it: kelo-chess --practice, on a
# virtual screen, starts the reference server and kelo-bot, which starts its engine (Debian's
# stockfish when installed, else the tests' fake engine). Once the bot sits at the table, the
# window is closed with its "退出" button: the program ends, the server stops cleanly at the end
# of its control input, and no server, bot or engine is left. Then again, and the program is
# killed (SIGKILL): nothing is left either.
#   practice_processes_test.sh BUILD_FOLDER SOURCE_FOLDER
# Ends with 77 (skipped) when Xvfb or xdotool is missing. KELO_PRACTICE_KEEP=FOLDER keeps the
# logs.
set -u
build=$(cd "$1" && pwd)
source_folder=$(cd "$2" && pwd)
client=$build/kelo-chess
source "$source_folder/scripts/xvfb_display.sh"
source "$source_folder/scripts/test_helpers.sh"

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
if command -v stockfish >/dev/null || [ -x /usr/games/stockfish ]; then
    engine=$(command -v stockfish || echo /usr/games/stockfish)
else
    engine="python3 $source_folder/tests/engine/fake_uci_engine.py"
fi

work=$(mktemp -d)
client_pid="" XVFB_PID=""
cleanup() {
    [ -n "$client_pid" ] && kill -9 "$client_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KELO_PRACTICE_KEEP:-}" ] && mkdir -p "$KELO_PRACTICE_KEEP" && cp -r "$work"/run* "$KELO_PRACTICE_KEEP"/
    rm -rf "$work"
}
trap cleanup EXIT
stop() {
    echo "FAIL: $*"
    for f in "$work"/run*/client.log "$work"/run*/logs/*.log; do
        [ -f "$f" ] && { echo "== $f"; tail -n 20 "$f"; }
    done
    exit 1
}

start_xvfb 1280x1024 "$work" || exit 1
unset DBUS_SESSION_BUS_ADDRESS KELO_AUTO_ANSWER

# The processes below the given ones, all generations.
descendants() {
    local pid child
    for pid in "$@"; do
        for child in $(pgrep -P "$pid"); do
            echo "$child"
            descendants "$child"
        done
    done
}
# Whether a process is there and not only waiting to be reaped.
alive() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}
# expect_gone RUN PIDS...: none of them is left within 5 s.
expect_gone() {
    local run=$1 pid left
    shift
    for _ in $(seq 50); do
        left=""
        for pid in "$@"; do alive "$pid" && left+=" $pid($(cat "/proc/$pid/comm" 2>/dev/null))"; done
        [ -z "$left" ] && return 0
        sleep 0.1
    done
    stop "run $run: left behind:$left"
}

# start_run RUN: the program on its own folders, every choice given, until the bot sits down.
start_run() {
    dir=$work/run$1
    mkdir -p "$dir/logs"
    own_folders "$dir" '[chessgame]\nsound=0\n'
    QT_QPA_PLATFORM=xcb KELO_PRACTICE_LOG=$dir/logs "$client" --practice --level 1 \
        --colour white --time 300,20,2 --engine "$engine" >"$dir/client.log" 2>&1 &
    client_pid=$!
    wait_for "$dir/client.log" '^practice bot ready ' 30 || stop "run $1: the bot never sat down"
    grep -q '^practice server 127\.0\.0\.1:[0-9]\+$' "$dir/client.log" || stop "run $1: no server line"
    children=$(descendants "$client_pid")
    # The server and the bot are the program's; the engine is the bot's.
    local server bot
    server=$(pgrep -P "$client_pid" -x kelo-table-serv)
    bot=$(pgrep -P "$client_pid" -x kelo-bot)
    [ -n "$server" ] && [ -n "$bot" ] || stop "run $1: no server and bot below the program: $children"
    [ -n "$(pgrep -P "$bot")" ] || stop "run $1: the bot has no engine"
}

# Run 1: closed with the window's own "退出" (no game under way, so nothing is asked).
start_run 1
window=$(window_of "$client_pid") || stop "run 1: no window"
read -r X Y _ _ <<<"$(window_box "$window")"
read -r exit_x exit_y < <(skin_value "$build/skin/image/1024/config.ini" exitbuttonpoint)
read -r exit_w exit_h < <(skin_value "$build/skin/image/1024/config.ini" exitbuttonsize)
xdotool mousemove $((X + exit_x + exit_w / 2)) $((Y + exit_y + exit_h / 2)) click 1
for _ in $(seq 100); do alive "$client_pid" || break; sleep 0.1; done
alive "$client_pid" && stop "run 1: the program did not end when its window closed"
wait "$client_pid"
status=$?
client_pid=""
[ "$status" -eq 0 ] || stop "run 1: exit status $status"
# shellcheck disable=SC2086
expect_gone 1 $children
grep -q '^control input closed' "$dir/logs/server.log" &&
    grep -q '^stopped, 0 violations$' "$dir/logs/server.log" ||
    stop "run 1: the server did not stop cleanly"

# Run 2: the program killed.
start_run 2
kill -9 "$client_pid"
wait "$client_pid" 2>/dev/null
client_pid=""
# shellcheck disable=SC2086
expect_gone 2 $children

echo "PASS: the server, the bot and its engine ended with the window and with the program killed"
