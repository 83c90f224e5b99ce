#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install_test.sh BUILD_FOLDER
# Installs into a prefix of its own, checks the files an installation must have, and starts
# PREFIX/games/kelo-chess: it must find the installed skin and leave the user's desktop alone.
set -euo pipefail
build=$1
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install"

for file in games/kelo-chess games/kelo-record games/kelo-hall games/kelo-table-server games/kelo-bot \
            share/kelo-chess/skin/image/1024/config.ini share/kelo-chess/skin/image/800/config.ini \
            share/kelo-chess/skin/image/1024/frmback@2x.bmp share/kelo-chess/skin/image/studyboard@2x.bmp \
            share/kelo-chess/sound/501.wav share/kelo-chess/room/headpica/IDI_0.png \
            share/kelo-chess/help/index.html \
            share/applications/kelo-chess.desktop share/mime/packages/kelo-chess.xml \
            share/metainfo/com.zandor.KeloChessGame.metainfo.xml \
            share/icons/hicolor/scalable/apps/kelo-chess.svg \
            share/icons/hicolor/48x48/apps/kelo-chess.png \
            share/icons/hicolor/128x128/apps/kelo-chess.png \
            share/icons/hicolor/256x256/apps/kelo-chess.png \
            share/icons/hicolor/scalable/mimetypes/application-x-kelo-chess-record.svg \
            share/man/man6/kelo-chess.6.gz share/man/man6/kelo-bot.6.gz \
            games/kelo-relay share/man/man6/kelo-relay.6.gz \
            share/doc/kelo-chess/copyright share/doc/kelo-chess/changelog.gz; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
# The table's modules, where the installed program looks for them: the network one always, the
# sound one when the build has Qt Multimedia.
modules=(kelo-link.so)
[ -f "$build/kelo-sound.so" ] && modules+=(kelo-sound.so)
for module in "${modules[@]}"; do
    [ -f "$prefix/lib/games/kelo-chess/$module" ] || fail "lib/games/kelo-chess/$module is not installed"
done
[ "$(cat "$prefix/share/dbus-1/services/com.zandor.KeloChessGame.service")" = \
  "$(printf '[D-BUS Service]\nName=com.zandor.KeloChessGame\nExec=%s -Embedding' \
            "$prefix/games/kelo-chess")" ] || fail "the bus activation file does not start $prefix/games/kelo-chess"
# Nothing of the build tree inside.
if grep -rlI -- "$build" "$prefix/share" >/dev/null; then
    fail "installed files name the build folder: $(grep -rlI -- "$build" "$prefix/share")"
fi

# The installed program reads its data from ../share/kelo-chess and registers nothing.
home=$work/home
mkdir -p "$home"
HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$work \
    "$prefix/games/kelo-chess" >"$work/log" 2>&1 &
pid=$!
for _ in $(seq 200); do
    grep -aq '^skin: ' "$work/log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
line=$(grep -a '^skin: ' "$work/log" || true)
found=$(realpath -m "${line#skin: }")
case $found in
"$(realpath "$prefix")/share/kelo-chess/skin/image/"*) ;;
*) fail "the installed program did not find the installed skin: ${line:-$(cat "$work/log")}" ;;
esac
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
for file in applications/kelo-chess.desktop dbus-1/services/com.zandor.KeloChessGame.service \
            mime/packages/kelo-chess.xml; do
    [ ! -e "$home/data/$file" ] || fail "the installed program wrote the user's $file"
done

# Asked explicitly, it does register, pointing at itself.
HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config \
    "$prefix/games/kelo-chess" -RegServer >/dev/null 2>&1 || fail "-RegServer"
grep -qF "Exec=\"$prefix/games/kelo-chess\" %f" "$home/data/applications/kelo-chess.desktop" ||
    fail "-RegServer wrote another program's path"
grep -q '^Icon=kelo-chess$' "$home/data/applications/kelo-chess.desktop" ||
    fail "-RegServer of an installed program names its icon by path"
echo "PASS: $line"
