#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual screen of its own, a local table whose settings save every
# finished game (savetype 1): Fool's mate played with mouse clicks, the result's message box
# closed as a person closes it, and the record written into the record folder holds the four
# moves (read back with kelo-record).
# Arguments: the program, the folder of the skin it uses (the 1024 folder: the screen is 1280
# wide) and kelo-record. Ends with 77 (skipped) when Xvfb or xdotool is missing.
set -u
client=$1
skin=$2/config.ini
record_tool=$3
source "$(dirname "$0")/../../scripts/xvfb_display.sh"

for tool in Xvfb xdotool import compare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -f "$skin" ] || { echo "FAIL: no skin description at $skin"; exit 1; }

work=$(mktemp -d)
mkdir -p "$work/records"
own_folders "$work" '[chessgame]\nsound=0\nsavetype=1\nmanualpath=%s/records/\n' "$work"
client_pid="" XVFB_PID=""
# Only what this script started is ended.
cleanup() {
    [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "client log:"
    cat "$work/client.log"
    exit 1
}

start_xvfb 1280x1024 "$work" || exit 1
unset DBUS_SESSION_BUS_ADDRESS KELO_AUTO_ANSWER
QT_QPA_PLATFORM=xcb KELO_SOCIAL_DUMP=1 "$client" >"$work/client.log" 2>&1 &
client_pid=$!

window=$(window_of "$client_pid") || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$window")"
board_geometry "$skin"
click_at() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

# "开始", then Fool's mate: f2f3 e7e5 g2g4 d8h4.
click_at $((X + buttons_left + button_w / 2)) $((Y + buttons_top + button_h / 2))
board_crop "$work/start.png"
for square in f2 f3 e7 e5 g2 g4 d8 h4; do
    click_at $(centre $square)
done
# The result line comes in a message box over the table; it is closed with its button.
box=$(window_of "$client_pid" "$window") || fail "no result box after the mate"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return

saved=""
for _ in $(seq 50); do
    saved=$(find "$work/records" -name '*.che' | head -n1)
    [ -n "$saved" ] && break
    sleep 0.1
done
[ -n "$saved" ] || fail "no record in the record folder"
info=$("$record_tool" info "$saved") || fail "kelo-record info failed on $saved"
grep -qx 'moves: 4' <<<"$info" || fail "the record does not hold four moves: $info"
grep -qx 'f2f3 e7e5' <<<"$info" && grep -qx 'g2g4 d8h4' <<<"$info" ||
    fail "the record holds other moves: $info"
# The mate is named in the chat, and the final position stays on the board.
grep -q '^chat shown: .*本局结束：.*成功将杀！' "$work/client.log" || fail "the chat did not name the mate"
sleep 1
board_crop "$work/final.png"
[ "$(pixels_changed "$work/start.png" "$work/final.png")" -gt 1000 ] || fail "the board went back to the start after the mate"
echo "PASS: the mate was saved as $(basename "$saved") with its four moves, named in the chat," \
    "and left on the board"
