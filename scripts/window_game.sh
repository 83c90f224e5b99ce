# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that play the table window against kelo-bot at the reference server,
# after xvfb_display.sh and test_helpers.sh, with client, hall, bot, skin, work, port and fail
# set.
# window_game_programs BUILD: the programs of the build folder BUILD (client, server, bot, hall,
# record) and the 1024 skin's description (skin).
window_game_programs() {
    client=$1/kelo-chess
    server=$1/tools/table-server/kelo-table-server
    bot=$1/tools/kelo-bot/kelo-bot
    hall=$1/tools/kelo-hall/kelo-hall
    record=$1/tools/kelo-record/kelo-record
    skin=$1/skin/image/1024/config.ini
}
# start_window_game SERVER_LOG MOVES SECONDS: the window (alice, White), started by kelo-hall on
# the session bus, and the bot (bob, Black), which answers with its half of MOVES and gives up
# after SECONDS, with the further options of BOT_OPTIONS; both must enter the desk. Sets
# client_pid, hall_pid, bot_pid, people, window, the window's X and Y, and the places of
# board_geometry.
start_window_game() {
    QT_QPA_PLATFORM=xcb KELO_AUTO_ANSWER=yes "$client" -Embedding >"$work/client.log" \
        2>"$work/client-questions.log" &
    client_pid=$!
    wait_for "$work/client.log" '^registered' 10 || fail "the client did not offer the hall interface"
    people="--player 100:alice:Alice:0 --player 200:bob:Bob:1"
    # kelo-hall stays while the window is open, as the hall does.
    "$hall" $people --me alice --desk 1 --server "127.0.0.1:$port" >"$work/hall.log" 2>&1 &
    hall_pid=$!
    # shellcheck disable=SC2086
    "$bot" --server "127.0.0.1:$port" --desk 1 $people --me bob --moves "$2" --timeout "$3" \
        ${BOT_OPTIONS:-} >"$work/bot.log" 2>&1 &
    bot_pid=$!
    window=$(window_of "$client_pid") || fail "no window"
    wait_for "$1" 'id=100 entered' 10 || fail "the window did not enter the table"
    wait_for "$1" 'id=200 entered' 10 || fail "the bot did not enter the table"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    board_geometry "$skin"
}
