#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a local Scholar's mate with the keyboard only, at both skin sizes, and leaves a picture
# of every step: the cursor, a picked-up piece with its destinations, the move box's answer to
# a bad move, the mate.
#   scripts/keyboard_mate.sh [BUILD_FOLDER] [OUT_FOLDER]
# Pictures: OUT/<size>-NN-<step>.png for the 1024 and the 800 skin.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mkdir -p "${2:-/tmp/keyboard_mate}" && cd "${2:-/tmp/keyboard_mate}" && pwd)
source "$here/xvfb_display.sh"
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done

pid= work=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    [ -n "$work" ] && rm -rf "$work"
    pid= XVFB_PID= work=
}
trap cleanup EXIT

step=0
shot() {
    step=$((step + 1))
    sleep 0.4
    import -window root "$out/$size-$(printf %02d $step)-$1.png"
}
keys() {
    xdotool key --delay 60 "$@"
}

play() {
    size=$1 screen=$2
    step=0
    work=$(mktemp -d)
    start_xvfb "$screen" "$work"
    own_folders "$work"
    HOME=$work "$build/kelo-chess" >"$work/log" 2>&1 &
    pid=$!
    window=$(window_of "$pid") || { echo "no window: $(cat "$work/log")" >&2; exit 1; }
    xdotool windowmove "$window" 0 0
    sleep 1
    # 开始 by its shortcut, the board has the keys from the start.
    keys alt+k
    # Any key on the board shows the cursor; a click would hide it again.
    keys Left Right

    shot cursor
    # 1. e4: pick up the pawn under the cursor (e2), two squares up, drop.
    keys space
    shot picked-up
    keys Up Up space
    # 1... e5
    keys Up Up Up space Down Down space
    # 2. Bc4
    keys Right Down Down Down Down space Left Left Left Up Up Up space
    # 2... Nc6
    keys Left Up Up Up Up space
    shot knight-picked-up
    keys Right Down Down space
    # 3. Qh5
    keys Right Down Down Down Down Down space Right Right Right Right Up Up Up Up space
    shot queen-out
    # 3... Nf6 through the move box, after a move that the rules refuse.
    keys ctrl+m
    xdotool type --delay 60 "Nf5"
    keys Return
    shot move-box-error
    keys ctrl+a BackSpace
    xdotool type --delay 60 "Nf6"
    keys Return
    shot move-box-move
    # 4. Qxf7#: back to the board, the cursor is still on h5.
    keys Escape space
    shot capture-ring
    keys Left Left Up Up space
    sleep 1
    shot mate
    cleanup
}

play 1024 1024x768
play 800 800x600
ls "$out"
