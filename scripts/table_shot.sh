#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens a local table on a virtual screen of its own and saves a picture of its window.
#   scripts/table_shot.sh PROGRAM SCREEN_WxH SCALE OUT.png
# SCALE is Qt's scale factor (QT_SCALE_FACTOR): at 2 the screen's logical width is half its
# pixels, so a 2048x1536 screen gets the 1024 skin and a 1600x1200 one the 800 skin.
set -euo pipefail
program=$1 screen=$2 scale=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_display.sh"
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$screen" "$work"
mkdir -p "$work/home"
HOME=$work/home XDG_RUNTIME_DIR=$work QT_SCALE_FACTOR=$scale KELO_AUTO_ANSWER=no \
    "$program" >"$work/log" 2>&1 &
pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '国际象棋' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no window: $(cat "$work/log")" >&2; exit 1; }
sleep 1.5
import -window "$window" "$out"
grep -a '^skin: ' "$work/log" || true
