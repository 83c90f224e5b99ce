#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A soak of the table window: GAMES games (default 50) of the real window against kelo-bot
# through the reference server, every move of the window a mouse click. The window (White) plays
# f2f3 and g2g4, the bot (Black) answers e7e5 and d8h4, mate; the result dialog is closed with
# a click on its button, the server starts the next game 3 s later and the window's "开始" is
# clicked again. The window's resident memory (VmRSS) and
# open file descriptors are read after game 5 and after the last game; both must stay within
# 5 % or 2 MB (2 descriptors), whichever is larger.
# The window runs on a virtual screen of its own (Xvfb), started by kelo-hall on a session bus of
# its own; loopback only; every wait is bounded and the whole run stops after LIMIT seconds
# (default 900). Usage: scripts/window_soak.sh [BUILD_FOLDER] (default build). Prints the
# figures and "PASS" or "FAIL: ..." and exits 0 or 1 (77 when a tool is missing).
set -u
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/test_helpers.sh"
own_session_bus KELO_SOAK_BUS "$0" "$build"
source "$here/xvfb_display.sh"
source "$here/table_server.sh"
source "$here/window_game.sh"
need_tools Xvfb xdotool
games=${GAMES:-50}
limit=${LIMIT:-900}
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
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        echo "== $(basename "$log")"
        tail -n 20 "$log"
    done
    exit 1
}
deadline=$(($(date +%s) + limit))
rss_kib() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$client_pid/status"; }
fds() { ls "/proc/$client_pid/fd" | wc -l; }

start_xvfb 1280x1024 "$work" || exit 1
"$server" --port 0 >"$work/server.log" 2>&1 &
server_pid=$!
port=$(listening_port "$work/server.log") || fail "the server did not start"
line="f2f3 e7e5 g2g4 d8h4"
# The bot stays for the next game and plays the same moves again.
start_window_game "$work/server.log" "$line" "$limit"
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.2; }

start=$(date +%s)
for game in $(seq "$games"); do
    [ "$(date +%s)" -lt "$deadline" ] || fail "not finished within $limit s (game $game)"
    # "开始", pressed until the game begins.
    for _ in $(seq 20); do
        xdotool windowactivate "$window" 2>/dev/null
        click_at $((X + buttons_left + button_w / 2)) $((Y + buttons_top + button_h / 2))
        wait_for "$work/server.log" 'game begins' 1 "$game" && break
    done
    wait_for "$work/server.log" 'game begins' 1 "$game" || fail "game $game did not begin"
    before=$(grep -c '^board ' "$work/bot.log")
    plies=0
    for move in $line; do
        plies=$((plies + 1))
        if [ $((plies % 2)) -eq 1 ]; then
            click_at $(centre "${move:0:2}")
            click_at $(centre "${move:2:2}")
        fi
        for _ in $(seq 50); do
            [ "$(grep -c '^board ' "$work/bot.log")" -ge $((before + plies)) ] && break
            sleep 0.1
        done
        [ "$(grep -c '^board ' "$work/bot.log")" -ge $((before + plies)) ] ||
            fail "game $game: ply $plies ($move) was not played"
    done
    wait_for "$work/server.log" 'game over' 10 "$game" || fail "game $game did not end"
    # The result dialog is closed as a person closes it, with its "关闭" button.
    dialog=$(window_of "$client_pid" "$window") || fail "game $game: no result dialog"
    for _ in $(seq 10); do
        # "关闭" is centred at the dialog's foot, its centre 20 pixels above the bottom.
        read -r dx dy dw dh < <(window_box "$dialog")
        [ -n "${dh:-}" ] && click_at $((dx + dw / 2)) $((dy + dh - 20))
        sleep 0.3
        xdotool search --onlyvisible --pid "$client_pid" 2>/dev/null | grep -qx "$dialog" || break
    done
    xdotool search --onlyvisible --pid "$client_pid" 2>/dev/null | grep -qx "$dialog" &&
        fail "game $game: the result dialog did not close"
    if [ "$game" = 5 ]; then
        sleep 1
        rss5=$(rss_kib) fds5=$(fds)
    fi
done
sleep 1
rss_end=$(rss_kib) fds_end=$(fds)
elapsed=$(($(date +%s) - start))
violations=$(grep -c '^violation' "$work/server.log")
printf 'games        %d in %d s\n' "$games" "$elapsed"
printf 'window RSS   %d KiB after game 5, %d KiB after game %d\n' "$rss5" "$rss_end" "$games"
printf 'window fds   %d after game 5, %d after game %d\n' "$fds5" "$fds_end" "$games"
printf 'violations   %d\n' "$violations"
allowed=$((rss5 / 20 > 2048 ? rss5 / 20 : 2048))
fd_allowed=$((fds5 / 20 > 2 ? fds5 / 20 : 2))
delta=$((rss_end - rss5))
fd_delta=$((fds_end - fds5))
[ "${delta#-}" -le "$allowed" ] || fail "the window's memory changed by $delta KiB (allowed $allowed)"
[ "${fd_delta#-}" -le "$fd_allowed" ] || fail "the window's descriptors changed by $fd_delta"
[ "$violations" = 0 ] || fail "the server counted violations"
echo "PASS: $games games of the window against the bot"
