#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual screen of its own, used as a person uses it: press "开始", play
# a few moves with mouse clicks at the squares the skin places, and check on screenshots that
# the clicked squares change and the others stay as they were.
# Arguments: the program and the folder of the skin it uses (the 1024 folder: the screen is
# 1280 wide). Ends with 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
# KELO_E2E_SHOTS=FOLDER keeps the screenshots there.
set -u
client=$1
skin=$2/config.ini
source "$(dirname "$0")/../../scripts/xvfb_display.sh"
source "$(dirname "$0")/../../scripts/test_helpers.sh"

for tool in Xvfb xdotool import compare convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -f "$skin" ] || { echo "FAIL: no skin description at $skin"; exit 1; }

work=$(mktemp -d)
own_folders "$work"
client_pid="" XVFB_PID=""
# Only what this script started is ended.
cleanup() {
    [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KELO_E2E_SHOTS:-}" ] && mkdir -p "$KELO_E2E_SHOTS" && cp "$work"/*.png "$KELO_E2E_SHOTS"/
    rm -rf "$work"
}
trap cleanup EXIT
failures=0

start_xvfb 1280x1024 "$work" || exit 1
# A session bus that is not there must not be looked for.
unset DBUS_SESSION_BUS_ADDRESS
QT_QPA_PLATFORM=xcb KELO_AUTO_ANSWER=no "$client" >"$work/client.log" 2>&1 &
client_pid=$!

# The window, once it is shown.
window=$(window_of "$client_pid") || { echo "FAIL: no window; log:"; cat "$work/client.log"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r width height < <(skin_value "$skin" size)
[ "$WIDTH" = "$width" ] && [ "$HEIGHT" = "$height" ] ||
    fail "window is ${WIDTH}x$HEIGHT, the skin says ${width}x$height"

# Screen places from the description file: the board window, its grid, the button board.
board_geometry "$skin"

click_at() {
    xdotool mousemove "$1" "$2" click 1
}

# shot NAME takes a screenshot once the board has stopped changing (two equal in a row). Only
# the board counts: the running clocks change the panels every second, which on a busy machine
# is sooner than two screenshots and their comparison take.
shot() {
    local previous="$work/settle.png"
    import -window root "$previous"
    for _ in $(seq 30); do
        sleep 0.15
        import -window root "$work/$1.png"
        [ "$(compare -metric AE -extract "$(board_area)" "$previous" "$work/$1.png" null: 2>&1)" = "0" ] &&
            return 0
        cp "$work/$1.png" "$previous"
    done
    fail "the board did not settle for $1"
}
# differing A SQUARE B [SQUARE2] prints how many pixels differ between a square of one
# screenshot and the same square (or SQUARE2) of another.
differing() {
    crop "$1" "$2" "$work/a.png"
    crop "$3" "${4:-$2}" "$work/b.png"
    compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1
}
# crop SHOT SQUARE OUT cuts the inside of a square out of a screenshot.
crop() {
    local x y
    read -r x y < <(centre "$2")
    convert "$work/$1.png" -crop \
        "$((square_w - 4))x$((square_h - 4))+$((x - square_w / 2 + 2))+$((y - square_h / 2 + 2))" \
        +repage "$3"
}
expect_changed() {
    local before=$1 after=$2
    shift 2
    for square in "$@"; do
        [ "$(differing "$before" "$square" "$after")" != "0" ] ||
            fail "$square did not change from $before to $after"
    done
}
expect_same() {
    local before=$1 after=$2
    shift 2
    for square in "$@"; do
        [ "$(differing "$before" "$square" "$after")" = "0" ] ||
            fail "$square changed from $before to $after"
    done
}
# move FROM TO: two clicks, the piece picked up and put down.
move() {
    click_at $(centre "$1")
    sleep 0.2
    click_at $(centre "$2")
}

shot start
# Before "开始" a click on a piece only explains; the board stays.
click_at $(centre e2)
shot before-start
expect_same start before-start e2 e4

click_at $((X + buttons_left + button_w / 2)) $((Y + buttons_top + button_h / 2))
shot started
move e2 e4
shot white-moved
expect_changed started white-moved e2 e4
expect_same started white-moved e7 e5 g1 f3 a8 h1
move e7 e5
shot black-moved
expect_changed white-moved black-moved e7 e5
expect_same white-moved black-moved g1 f3 a8
move g1 f3
shot knight-moved
expect_changed black-moved knight-moved g1 f3
expect_same black-moved knight-moved a8 h1 d4
# The pawn went from e2 to e4: once the last move marks are elsewhere, e4 looks as e2 did
# and e2 as the empty e4 did (both are light squares).
[ "$(differing started e2 knight-moved e4)" = "0" ] || fail "e4 does not show the pawn of e2"
[ "$(differing started e4 knight-moved e2)" = "0" ] || fail "e2 does not look empty"

# "棋谱" (slot 5 of the button board) opens the study window, a window of its own.
read -r step_x step_y < <(skin_value "$skin" buttonintervalsize)
read -r columns < <(skin_value "$skin" buttoncol)
click_at $((X + buttons_left + 5 % columns * step_x + button_w / 2)) \
    $((Y + buttons_top + 5 / columns * step_y + button_h / 2))
study=""
for _ in $(seq 50); do
    study=$(xdotool search --onlyvisible --name "棋谱研究" 2>/dev/null | head -n1)
    [ -n "$study" ] && break
    sleep 0.1
done
if [ -n "$study" ]; then
    study_size=$(xdotool getwindowgeometry --shell "$study" | grep -E '^(WIDTH|HEIGHT)=' |
        cut -d= -f2 | paste -sd x)
    [ "$study_size" = "620x380" ] || fail "the study window is $study_size, not 620x380"
    shot study
else
    fail "棋谱 opened no study window"
fi

kill -0 "$client_pid" 2>/dev/null || fail "the program ended during the game"
if [ "$failures" -gt 0 ]; then
    echo "client log:"
    cat "$work/client.log"
    exit 1
fi
echo "PASS: window at $X,$Y ${WIDTH}x$HEIGHT, three moves played with clicks, the study window opened"
