#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real client killed with kill -9 while it saves, ROUNDS times (10 by default): on a
# virtual screen, a local table whose settings save every finished game; each round plays
# Fool's mate with mouse clicks (the game's end writes its record), opens the settings and
# confirms them (the settings file is written again), and is killed at a random moment from
# the mating click on. After every kill each record in the record folder must read back whole
# (kelo-record) with the game's four moves, the settings file must be the old one or the one the
# client writes, and the next start must tell the user nothing. A last start follows the last
# kill.
#   scripts/kill_while_saving.sh [BUILD_FOLDER] [ROUNDS]
# The seed of the moments is printed; KELO_KILL_SEED=N repeats a run, KELO_KILL_WINDOW_MS sets
# the span of the moments (1500 ms from the mating click by default). Ends with 77 when Xvfb
# or xdotool is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
rounds=${2:-10}
# The kill falls within this many milliseconds after the mating click.
window_ms=${KELO_KILL_WINDOW_MS:-1500}
client=$build/kelo-chess
record_tool=$build/tools/kelo-record/kelo-record
skin=$build/skin/image/1024/config.ini
source "$here/xvfb_display.sh"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
for file in "$client" "$record_tool" "$skin"; do
    [ -e "$file" ] || { echo "FAIL: $file is missing (build kelo-chess and kelo-record)"; exit 1; }
done

seed=${KELO_KILL_SEED:-$(((RANDOM << 15 | RANDOM) % 1000000))}
echo "seed $seed (KELO_KILL_SEED=$seed repeats this run)"
RANDOM=$seed

work=$(mktemp -d)
client_pid="" killer_pid="" XVFB_PID=""
# Only what this script started is ended.
cleanup() {
    [ -n "$killer_pid" ] && kill "$killer_pid" 2>/dev/null
    [ -n "$client_pid" ] && kill -9 "$client_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

start_xvfb 1280x1024 "$work" || exit 1
unset DBUS_SESSION_BUS_ADDRESS
records=$work/records
mkdir -p "$records"
own_folders "$work" '[chessgame]\nsound=0\nsavetype=1\nmanualpath=%s/\n' "$records"
settings=$XDG_CONFIG_HOME/kelo-chess/ChessGame.ini
old_settings=$(od -An -tx1 -v "$settings")
board_geometry "$skin"
read -r set_x set_y < <(skin_value "$skin" setbuttonpoint)
read -r set_w set_h < <(skin_value "$skin" setbuttonsize)
click_at() {
    xdotool mousemove "$1" "$2" click 1 2>/dev/null
    sleep 0.25
}

# start NAME [ARGS...]: the client with its window; false without one.
start() {
    local name=$1
    shift
    QT_QPA_PLATFORM=xcb KELO_AUTO_ANSWER=yes "$client" "$@" >"$work/$name.log" 2>&1 &
    client_pid=$!
    # Out of the job table: its kill is this script's business, not a line of the shell's.
    disown "$client_pid"
    window=$(window_of "$client_pid") || { fail "$name: no window: $(cat "$work/$name.log")"; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# gone PID: waits until the process has ended.
gone() {
    while kill -0 "$1" 2>/dev/null; do sleep 0.05; done
}

# told NAME: fails when the client's log holds anything the user was told.
told() {
    if grep -qE '^(notice|error|information):' "$work/$1.log"; then
        fail "$1: the start told the user: $(grep -E '^(notice|error|information):' "$work/$1.log" | head -n3)"
    fi
}

# The settings file is the one written above or the one the client writes: every line with
# CR LF, in the client's order, the same values (the style library's path is the client's own).
settings_verdict() {
    local dll
    dll=$(grep -a '^dllfilename=' "$settings" | head -n1 | tr -d '\r' | cut -d= -f2-)
    if [ "$(od -An -tx1 -v "$settings")" = "$old_settings" ]; then
        echo old
    elif [ "$(od -An -tx1 -v "$settings")" = "$(printf '[chessgame]\r\nsound=0\r\nshowontop=0\r\nsavetype=1\r\nmanualpath=%s/\r\ndllfilename=%s\r\n[gogame]\r\ntableback=1\r\n' "$records" "$dll" | od -An -tx1 -v)" ]; then
        echo new
    else
        echo broken
    fi
}

# check ROUND: every file in the record folder whole, the settings file old or new.
check() {
    local file info strays=0 whole=0
    for file in "$records"/* "$records"/.[!.]*; do
        [ -e "$file" ] || continue
        case $(basename "$file") in
        .*.kelo-??????) strays=$((strays + 1)) ;;
        *.che)
            if info=$("$record_tool" info "$file" 2>&1) && grep -qx 'moves: 4' <<<"$info"; then
                whole=$((whole + 1))
            else
                fail "round $1: $(basename "$file") does not read back whole: $info"
            fi
            ;;
        *) fail "round $1: an unknown file in the record folder: $(basename "$file")" ;;
        esac
    done
    # A kill in the middle of a write leaves its temporary file until the next write there.
    [ "$strays" -le 1 ] || fail "round $1: $strays temporary files in the record folder"
    local verdict
    verdict=$(settings_verdict)
    [ "$verdict" != broken ] || fail "round $1: the settings file is neither old nor new: $(od -c "$settings" | head)"
    echo "round $1: killed $2 ms after the mate$aimed; $whole whole record(s), $strays temporary file(s), settings $verdict"
}

# When each save has come after the mating click, in ms, as the rounds found it (0: not yet).
record_at=0 settings_at=0
# aim sets delay, the kill's moment after the mating click, and aimed, what it aims at. The
# rounds take turns: any moment of the window, then one within a few milliseconds of the
# record's save, then of the settings' save (once a round has seen them), so that kills fall
# into a write and not only between writes.
aim() {
    local at=0 what=""
    case $((round % 3)) in
    2) at=$record_at what=record ;;
    0) at=$settings_at what=settings ;;
    esac
    if [ "$at" -gt 0 ]; then
        aimed=", aimed at the $what save seen $at ms after"
        delay=$((at > 5 ? at - 5 + RANDOM % 25 : RANDOM % 25))
    else
        aimed=""
        delay=$((RANDOM % window_ms))
    fi
}
# learn T0: the saves' moments after the click at T0 (ns since the epoch), from the files' times
# (a file's time is the moment its data was written, before the rename that ends its save).
learn() {
    local newest newest_ns settings_ns
    newest=$(find "$records" -name '*.che' -printf '%T@ %p\n' | sort -n | tail -n1 | cut -d' ' -f2-)
    settings_ns=$(stat -c %.9Y "$settings" | tr -d .)
    if [ -n "$newest" ]; then
        newest_ns=$(stat -c %.9Y "$newest" | tr -d .)
        [ "$newest_ns" -gt "$1" ] && record_at=$(((newest_ns - $1) / 1000000))
    fi
    [ "$settings_ns" -gt "$1" ] && settings_at=$(((settings_ns - $1) / 1000000))
}

for round in $(seq "$rounds"); do
    start "start-$round" || break
    told "start-$round"
    # "开始", then Fool's mate: f2f3 e7e5 g2g4, and the killer's clock runs from the mating click.
    click_at $((X + buttons_left + button_w / 2)) $((Y + buttons_top + button_h / 2))
    for square in f2 f3 e7 e5 g2 g4 d8; do
        click_at $(centre $square)
    done
    aim
    read -r hx hy < <(centre h4)
    xdotool mousemove "$hx" "$hy"
    clicked=$(date +%s%N)
    (sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))" && kill -9 "$client_pid") &
    killer_pid=$!
    xdotool click 1 2>/dev/null
    # The settings: the button, then 确定 with the Enter key.
    sleep 0.3
    click_at $((X + set_x + set_w / 2)) $((Y + set_y + set_h / 2))
    xdotool key Return 2>/dev/null
    wait "$killer_pid" 2>/dev/null
    killer_pid=""
    gone "$client_pid"
    client_pid=""
    check "$round" "$delay"
    learn "$clicked"
done

# The start after the last kill reads the settings and opens the newest record without a word.
newest=$(find "$records" -name '*.che' -printf '%T@ %p\n' | sort -n | tail -n1 | cut -d' ' -f2-)
if start last ${newest:+"$newest"}; then
    sleep 1
    told last
    kill "$client_pid" 2>/dev/null
    gone "$client_pid"
    client_pid=""
fi
[ "$failures" -eq 0 ] || { echo "FAIL: $failures failure(s) (seed $seed)"; exit 1; }
echo "PASS: $rounds kills while saving; every file whole, the next starts told nothing"
