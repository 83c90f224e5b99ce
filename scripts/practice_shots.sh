#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the pictures of a game against the computer from the real program, at both skin sizes:
# the practice dialog, and a game under way against the engine at level 4 (the person's first
# moves typed into the move box; the engine's greeting in the chat).
#   scripts/practice_shots.sh [BUILD_FOLDER] [OUT_FOLDER]
# Writes OUT/practice-dialog-1024.png, practice-dialog-800.png, practice-1024.png and
# practice-800.png (OUT is docs/ by default). Needs Xvfb, xdotool, ImageMagick and stockfish.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mkdir -p "${2:-$here/../docs}" && cd "${2:-$here/../docs}" && pwd)
source "$here/xvfb_display.sh"
source "$here/test_helpers.sh"
need_tools Xvfb xdotool import convert

pid="" work=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "$work" ] && rm -rf "$work"
    pid="" XVFB_PID="" work=""
}
trap cleanup EXIT

# The person's moves, White's side of a quiet opening; each waits for the engine's answer.
moves=(e2e4 g1f3 f1c4 e1g1)

shoot() {
    local size=$1 screen=$2
    work=$(mktemp -d)
    start_xvfb "$screen" "$work"
    own_folders "$work" '[chessgame]\nsound=0\nsavetype=0\nmanualpath=%s/records/\n' "$work"
    QT_QPA_PLATFORM=xcb KELO_PRACTICE_LOG=$work "$build/kelo-chess" --practice \
        >"$work/client.log" 2>&1 &
    pid=$!
    local dialog
    dialog=$(window_of "$pid") || { echo "no dialog: $(cat "$work/client.log")" >&2; exit 1; }
    sleep 1
    import -window "$dialog" "$out/practice-dialog-$size.png"
    # White, the standard clocks, level 4: the dialog as it opens.
    xdotool key Return
    wait_for "$work/client.log" '^practice bot ready' 20 || { echo "the bot never came" >&2; exit 1; }
    local window
    sleep 0.5
    window=$(window_of "$pid") || { echo "no table: $(cat "$work/client.log")" >&2; exit 1; }
    xdotool windowmove "$window" 0 0
    sleep 0.5
    xdotool key alt+k
    local ply=0 move
    for move in "${moves[@]}"; do
        xdotool key ctrl+m
        xdotool type --delay 30 "$move"
        xdotool key Return
        ply=$((ply + 2))
        wait_for "$work/bot.log" '^recv 631 ' 20 "$ply" || { echo "no answer to $move" >&2; exit 1; }
    done
    sleep 1.5
    import -window "$window" "$out/practice-$size.png"
    cleanup
}

shoot 1024 1280x1024
shoot 800 1000x740
ls -l "$out"/practice-*.png
