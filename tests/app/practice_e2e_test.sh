#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole game against the computer as a person plays it: the real window, started with
# `kelo-chess --practice`, at the reference server against kelo-bot with the engine at level 1.
# The person's moves are a full-strength engine's, typed into the move box; the game must end
# within 100 plies and its record be saved. The first run gives every option and ends by closing
# the window; the second answers the practice dialog with the keyboard and ends by killing the
# program. After each, no server, bot or engine process may be left.
#   practice_e2e_test.sh BUILD_FOLDER
# Ends with 77 (skipped) when Xvfb or xdotool is missing, or when no engine is installed and CI
# is not set. KELO_E2E_SHOTS=FOLDER keeps a screenshot of each run's end.
set -u
build=$(cd "$1" && pwd)
client=$build/kelo-chess
record_tool=$build/tools/kelo-record/kelo-record
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb_display.sh"
source "$here/../../scripts/test_helpers.sh"

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
engine=$(command -v stockfish || { [ -x /usr/games/stockfish ] && echo /usr/games/stockfish; })
if [ -z "$engine" ]; then
    [ -n "${CI:-}" ] && { echo "FAIL: no chess engine installed (apt install stockfish)"; exit 1; }
    echo "SKIP: no chess engine installed (apt install stockfish)"
    exit 77
fi

work=$(mktemp -d)
client_pid="" XVFB_PID="" referee_pid=""
cleanup() {
    [ -n "$client_pid" ] && kill -9 "$client_pid" 2>/dev/null
    [ -n "$referee_pid" ] && kill "$referee_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    if [ -n "${KELO_E2E_SHOTS:-}" ]; then
        mkdir -p "$KELO_E2E_SHOTS"
        cp "$work"/*.png "$KELO_E2E_SHOTS"/ 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
stop() {
    echo "FAIL: $*"
    for f in "$work"/run*/client.log "$work"/run*/logs/*.log; do
        [ -f "$f" ] && { echo "== $f"; tail -n 40 "$f"; }
    done
    exit 1
}

start_xvfb 1280x1024 "$work" || exit 1
unset DBUS_SESSION_BUS_ADDRESS KELO_AUTO_ANSWER

# The person's engine: a full-strength engine of its own, asked move by move.
coproc REFEREE { "$engine"; }
referee_pid=$REFEREE_PID
echo "uci" >&"${REFEREE[1]}"
while read -r -t 10 line <&"${REFEREE[0]}"; do [ "$line" = uciok ] && break; done
best_move() {
    echo "position startpos moves $*" >&"${REFEREE[1]}"
    echo "go movetime 100" >&"${REFEREE[1]}"
    local line
    while read -r -t 10 line <&"${REFEREE[0]}"; do
        case $line in bestmove*) set -- $line; echo "$2"; return 0 ;; esac
    done
    return 1
}

# The moves the bot has received so far, in order (every move reaches every client).
moves_seen() {
    sed -n 's/^recv 631 move=\([a-h][1-8][a-h][1-8][qrbn]\?\) .*/\1/p' "$logs/bot.log"
}
# The processes the program started, and theirs.
descendants() {
    local pid child
    for pid in "$@"; do
        for child in $(pgrep -P "$pid"); do
            echo "$child"
            descendants "$child"
        done
    done
}

# play RUN: the person (White) plays the game out; the bot is Black.
play() {
    local run=$1 window ply
    window=$(window_of "$client_pid") || stop "run $run: no window"
    wait_for "$dir/client.log" '^practice bot ready' 20 || stop "run $run: the bot never got ready"
    xdotool windowactivate --sync "$window" 2>/dev/null
    # 开始 by its shortcut.
    xdotool key --window "$window" alt+k
    local moves=() last=-1
    for ply in $(seq 0 99); do
        # Wait for the bot's word on the ply before: every move so far has arrived.
        for _ in $(seq 300); do
            mapfile -t moves < <(moves_seen)
            [ "${#moves[@]}" -ge "$ply" ] && break
            grep -q '^recv 651 ' "$logs/bot.log" && break
            sleep 0.1
        done
        grep -q '^recv 651 ' "$logs/bot.log" && break
        [ "${#moves[@]}" -ge "$ply" ] || stop "run $run: no move came at ply $ply"
        [ $((ply % 2)) -eq 1 ] && continue
        local move
        move=$(best_move "${moves[@]}") || stop "run $run: the person's engine did not answer"
        [ "$move" = "(none)" ] && break
        xdotool key --window "$window" ctrl+m
        xdotool type --delay 20 "$move"
        xdotool key Return
        last=$ply
    done
    wait_for "$logs/bot.log" '^recv 651 ' 30 || stop "run $run: the game did not end within 100 plies"
    import -window root "$work/practice-run$run.png"
}

# alive PID: the process runs (a zombie has ended; only its parent's reaping is missing).
alive() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
    [ -n "$state" ] && [ "$state" != Z ]
}
# expect_gone RUN PIDS...: none of the processes is left after a few seconds.
expect_gone() {
    local run=$1 pid left
    shift
    for _ in $(seq 50); do
        left=""
        for pid in "$@"; do alive "$pid" && left+=" $pid($(cat /proc/$pid/comm 2>/dev/null))"; done
        [ -z "$left" ] && return 0
        sleep 0.1
    done
    fail "run $run: processes left behind:$left"
}

expect_saved() {
    local run=$1 saved
    saved=$(find "$dir/records" -name '*.che' | head -n1)
    [ -n "$saved" ] || { fail "run $run: no record in the record folder"; return; }
    "$record_tool" info "$saved" | grep -q '^moves: [1-9]' ||
        fail "run $run: the record $saved holds no moves"
}

start_run() {
    dir=$work/run$1
    logs=$dir/logs
    mkdir -p "$dir/records" "$logs"
    own_folders "$dir" '[chessgame]\nsound=0\nsavetype=1\nmanualpath=%s/records/\n' "$dir"
    shift
    QT_QPA_PLATFORM=xcb KELO_PRACTICE_LOG=$logs "$client" --practice "$@" >"$dir/client.log" 2>&1 &
    client_pid=$!
}

# Run 1: every option given, nothing asked; the window closed at the end.
start_run 1 --level 1 --colour white --time 600,60,5
play 1
children=$(descendants "$client_pid")
[ "$(wc -w <<<"$children")" -ge 3 ] || fail "run 1: expected a server, a bot and an engine, found: $children"
expect_saved 1
# The result's dialogs are closed with their default button, then the table with its "退出".
window=$(window_of "$client_pid") || stop "run 1: no window at the end"
for _ in $(seq 10); do
    dialog=$(xdotool search --onlyvisible --pid "$client_pid" 2>/dev/null | grep -vx "$window" | head -n1)
    [ -z "$dialog" ] && break
    xdotool windowactivate --sync "$dialog" key Return 2>/dev/null || xdotool key Return
    sleep 0.3
done
skin=$build/skin/image/1024/config.ini
read -r X Y _ _ <<<"$(window_box "$window")"
read -r exit_x exit_y < <(skin_value "$skin" exitbuttonpoint)
read -r exit_w exit_h < <(skin_value "$skin" exitbuttonsize)
xdotool mousemove $((X + exit_x + exit_w / 2)) $((Y + exit_y + exit_h / 2)) click 1
for _ in $(seq 100); do alive "$client_pid" || break; sleep 0.1; done
alive "$client_pid" && fail "run 1: the program did not end when its window closed"
kill -9 "$client_pid" 2>/dev/null
client_pid=""
# shellcheck disable=SC2086
expect_gone 1 $children

# Run 2: the dialog answered by keys: the level three steps down from 4, White as it stands,
# the time control one up from the middle one (the short one); the program killed.
start_run 2
dialog=$(window_of "$client_pid") || stop "run 2: no practice dialog"
xdotool windowactivate --sync "$dialog" 2>/dev/null
sleep 0.5
import -window root "$work/practice-dialog.png"
xdotool key --delay 80 Left Left Left Tab Tab Up Return
play 2
children=$(descendants "$client_pid")
expect_saved 2
kill -9 "$client_pid"
wait "$client_pid" 2>/dev/null
client_pid=""
# shellcheck disable=SC2086
expect_gone 2 $children

[ "$failures" -eq 0 ] || exit 1
echo "PASS: two practice games played out against the engine and saved; nothing left behind"
