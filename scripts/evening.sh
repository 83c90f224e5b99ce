#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A player's evening at the table: the table window (alice, White), started by kelo-hall on a
# session bus and a virtual screen of its own, against kelo-bot (bob, Black) at the reference
# server, three games in a row:
#   1. a take-back asked by the window and refused by the bot, then a draw the bot agrees to;
#   2. a game the window wins by mate (the scholar's mate);
#   3. a game during which the bot's process is killed: the server tells the desk, holds the
#      seat for a few seconds and then ends the game.
# The window's moves and button presses are mouse clicks (xdotool); its questions are answered
# "yes" (KELO_AUTO_ANSWER) and its chat lines go to its log (KELO_SOCIAL_DUMP). It checks that
# each ending was told in the chat, that the save question came once for each game, that the
# finished game stayed on the board while the server readied the next one, that the bot's
# departure was shown, and that each finished game's record was saved and holds its moves.
# Screenshots of each step are left in KELO_EVENING_SHOTS (default ./evening-shots).
# About two minutes, loopback only. Not part of the test command.
# Usage: scripts/evening.sh [BUILD_FOLDER] (default build). Prints "PASS" or "FAIL: ..." and
# exits 0 or 1 (77 when a tool is missing).
set -u
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/test_helpers.sh"
own_session_bus KELO_EVENING_BUS "$0" "$build"
source "$here/xvfb_display.sh"
source "$here/table_server.sh"
source "$here/window_game.sh"
need_tools Xvfb xdotool import compare
window_game_programs "$build"
shots=${KELO_EVENING_SHOTS:-$PWD/evening-shots}
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)

work=$(mktemp -d)
# The records are saved where the settings say, after the question "本局游戏结束，您要保存棋局么？".
own_folders "$work" '[chessgame]\r\nmanualpath=%s/records/\r\nsavetype=2\r\n' "$work"
server_pid="" client_pid="" hall_pid="" bot_pid="" XVFB_PID=""
cleanup() {
    for pid in $server_pid $bot_pid $hall_pid $client_pid $XVFB_PID; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    cp "$work"/*.log "$shots"/ 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    import -window root "$shots/fail.png" 2>/dev/null
    for log in "$work"/*.log; do
        echo "== $(basename "$log")"
        tail -n 30 "$log"
    done
    exit 1
}
shot() { import -window root "$shots/$1.png"; }
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }

start_xvfb 1280x1024 "$work" || exit 1
export KELO_SOCIAL_DUMP=1
"$server" --port 0 --seat-hold 5 >"$work/server.log" 2>&1 &
server_pid=$!
port=$(listening_port "$work/server.log") || fail "the server did not start"
# The bot's half of every game: Black's moves by ply. The scholar's mate of game 2 meets the
# same answers.
line="e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b2b4 c5b6"
bot_options="--think 1 --answer-to takeback=no --answer-to draw=yes"
# start_window_game takes the bot's options from BOT_OPTIONS.
BOT_OPTIONS=$bot_options start_window_game "$work/server.log" "$line" 600
xdotool windowactivate "$window" 2>/dev/null
read -r interval_x interval_y < <(skin_value "$skin" buttonintervalsize)
# The button board's slots, four to a row: 开始 0, 交换 1, 悔棋 2, 认输 3, 和棋 4.
press_slot() {
    xdotool windowactivate "$window" 2>/dev/null
    click_at $((X + buttons_left + ($1 % 4) * interval_x + button_w / 2)) \
        $((Y + buttons_top + ($1 / 4) * interval_y + button_h / 2))
}
differs() { # A B: the two pictures differ in more than 1% of their pixels
    [ "$(pixels_changed "$1" "$2")" -gt "$((($(identify -format '%w*%h' "$1")) / 100))" ]
}
# A dialog window of the client other than the table, or nothing.
dialog_window() {
    xdotool search --onlyvisible --pid "$client_pid" 2>/dev/null | grep -vx "$window" | head -n1
}
# Presses the first (confirming) button of the dialog that opened last.
confirm_dialog() {
    local dialog="" dx dy dw dh
    for _ in $(seq 50); do
        dialog=$(dialog_window)
        [ -n "$dialog" ] && break
        sleep 0.1
    done
    [ -n "$dialog" ] || fail "$1: no dialog opened"
    read -r dx dy dw dh < <(window_box "$dialog")
    # Two buttons of 64 pixels, 12 apart, centred at the foot: the first one's centre.
    click_at $((dx + dw / 2 - 38)) $((dy + dh - 22))
}
# Closes every dialog of the client with its last button ("关闭", "确定"), at the foot's centre.
close_dialogs() {
    local dialog dx dy dw dh
    for _ in $(seq 10); do
        dialog=$(dialog_window)
        [ -z "$dialog" ] && return 0
        read -r dx dy dw dh < <(window_box "$dialog")
        click_at $((dx + dw / 2)) $((dy + dh - 22))
        sleep 0.3
    done
}
bot_plies() { grep -c '^board ' "$work/bot.log"; }
# play GAME MOVES...: the window's moves, each after the bot's answer to the one before.
play() {
    local game=$1 before plies=0
    shift
    before=$(bot_plies)
    for move in "$@"; do
        click_at $(centre "${move:0:2}")
        click_at $(centre "${move:2:2}")
        plies=$((plies + 2))
        for _ in $(seq 60); do
            [ "$(bot_plies)" -ge $((before + plies)) ] && break
            sleep 0.1
        done
        # A mate has no answer.
        [ "$(bot_plies)" -ge $((before + plies - 1)) ] || fail "game $game: $move was not played"
    done
}
begin_game() { # GAME
    for _ in $(seq 20); do
        press_slot 0
        wait_for "$work/server.log" 'game begins' 1 "$1" && return 0
    done
    fail "game $1 did not begin"
}

# 1. A take-back refused, then a draw agreed.
begin_game 1
board_crop "$work/start.png"
play 1 e2e4 g1f3 f1c4 d2d3
shot 1-four-moves
press_slot 2
confirm_dialog "the take-back request"
shot 1-takeback-asked
wait_for "$work/client.log" 'dialog: .*不同意' 10 || fail "the refused take-back was not told"
shot 1-takeback-refused
close_dialogs
press_slot 4
confirm_dialog "the draw offer"
wait_for "$work/client.log" 'chat shown: .*本局结束：双方同意和棋！' 10 || fail "the agreed draw was not told"
wait_for "$work/client.log" '^save: 1 /' 10 1 || fail "game 1 was not saved"
shot 1-draw
close_dialogs

# 2. A mate; the final position stays on view while the next game is readied.
wait_for "$work/server.log" 'game begins' 1 1
sleep 4
begin_game 2
play 2 e2e4 f1c4 d1h5 h5f7
wait_for "$work/client.log" 'chat shown: .*本局结束：Alice\[alice\]成功将杀！' 10 ||
    fail "the mate was not told"
wait_for "$work/client.log" '^save: 1 /' 10 2 || fail "game 2 was not saved"
shot 2-mate
# The server readies the next game 3 s after the end.
sleep 5
close_dialogs
shot 2-after-next-game-readied
board_crop "$work/final.png"
differs "$work/start.png" "$work/final.png" || fail "the final position did not stay on view"

# 3. The bot's connection dies during a game.
begin_game 3
board_crop "$work/start3.png"
differs "$work/start.png" "$work/start3.png" && fail "start pressed, the board does not show the start"
play 3 e2e4
kill -9 "$bot_pid"
wait "$bot_pid" 2>/dev/null
bot_pid=""
wait_for "$work/client.log" 'chat shown: .*bob断线了，请稍候' 10 || fail "the bot's broken connection was not shown"
shot 3-opponent-broken
wait_for "$work/client-questions.log" '断线无法重连' 15 || fail "the seat's end was not told"
wait_for "$work/client.log" '^save: 1 /' 10 3 || fail "game 3 was not saved"
wait_for "$work/client.log" '^window: closed' 10 || fail "the table did not close"

# Each end asked once, each record holds its game.
asked=$(grep -c '本局游戏结束，您要保存棋局么' "$work/client-questions.log")
[ "$asked" = 3 ] || fail "the save question came $asked times for 3 ends"
n=0
for moves in "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5" "e2e4 e7e5 f1c4 b8c6 d1h5 g8f6 h5f7" \
    "e2e4 e7e5"; do
    n=$((n + 1))
    saved=$(sed -n 's/^save: 1 //p' "$work/client.log" | sed -n "${n}p")
    stored=$("$record" info "$saved" | sed -n '/^moves:/,$p' | tail -n +2 | tr -s ' \n' ' ' |
        sed 's/ $//')
    [ "$stored" = "$moves" ] || fail "game $n's record holds '$stored', not '$moves'"
done
echo "PASS: 3 games: the refused take-back, the agreed draw, the mate and the departure told;"
echo "      one save question a game, the final position kept on view, 3 records saved ($shots)"
