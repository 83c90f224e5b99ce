#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes every picture in docs/ again from the real programs of a build, so that none of them
# shows a table that is no longer there:
#   practice-*.png   a game against the computer and the practice dialog (practice_shots.sh)
#   table-*.png      a table at the reference server with a watcher and chat (table_shots.sh)
#   table-*-hidpi.png the local table at Qt's scale factor 2 (table_shot.sh)
#   keyboard-800.png a keyboard game on the 800 skin: the queen picked up (keyboard_mate.sh)
#   scripts/docs_pictures.sh [BUILD_FOLDER]
# Needs Xvfb, xdotool, ImageMagick, dbus-run-session and stockfish; about two minutes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
docs=$(cd "$here/../docs" && pwd)

"$here/practice_shots.sh" "$build" "$docs"
"$here/table_shots.sh" "$build" "$docs"
"$here/table_shot.sh" "$build/kelo-chess" 2048x1536 2 "$docs/table-1024-hidpi.png"
"$here/table_shot.sh" "$build/kelo-chess" 1600x1200 2 "$docs/table-800-hidpi.png"
steps=$(mktemp -d)
trap 'rm -rf "$steps"' EXIT
"$here/keyboard_mate.sh" "$build" "$steps" >/dev/null
cp "$steps"/800-*-capture-ring.png "$docs/keyboard-800.png"
ls -l "$docs"/*.png
