#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# validate_test.sh desktop|appstream|mime DATA_FOLDER KELO_CHESS
# Validates the file the package installs and, for the desktop entry and the MIME type, the
# one a build-tree program writes for the user with -RegServer. Exit 77: validator missing.
set -euo pipefail
check=$1 data=$2 program=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

need() {
    if ! command -v "$1" >/dev/null; then
        echo "SKIP: $1 is not installed (scripts/setup.sh installs $2)"
        exit 77
    fi
}
fail() { echo "FAIL: $*" >&2; exit 1; }

# What a build-tree program registers for the user.
registered() {
    HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
        "$program" -RegServer >/dev/null 2>&1 || fail "-RegServer failed"
}

case $check in
desktop)
    need desktop-file-validate desktop-file-utils
    desktop-file-validate "$data/kelo-chess.desktop" || fail "installed desktop entry"
    registered
    desktop-file-validate "$work/data/applications/kelo-chess.desktop" ||
        fail "registered desktop entry"
    for key in 'Name\[zh_CN\]=国际象棋' 'Icon=' 'Exec=.* %f$' 'MimeType=application/x-kelo-chess-record;' \
               'Categories=Game;BoardGame;' 'Actions=practice;local;$' 'Exec=.* --practice$' \
               'Exec=.* --local$' 'Name\[zh_CN\]=与电脑对弈$' 'Name\[zh_CN\]=双人对弈（本机）$'; do
        grep -q "^$key" "$data/kelo-chess.desktop" || fail "installed entry lacks $key"
        grep -q "^$key" "$work/data/applications/kelo-chess.desktop" ||
            fail "registered entry lacks $key"
    done
    # The build tree's entry names its icon by a path that is there.
    icon=$(sed -n 's/^Icon=//p' "$work/data/applications/kelo-chess.desktop")
    [ -f "$icon" ] || fail "registered icon $icon is missing"
    ;;
appstream)
    need appstreamcli appstream
    appstreamcli validate --no-net "$data/com.zandor.KeloChessGame.metainfo.xml" ||
        fail "metainfo"
    grep -q '<launchable type="desktop-id">kelo-chess.desktop</launchable>' \
        "$data/com.zandor.KeloChessGame.metainfo.xml" || fail "launchable names another entry"
    ;;
mime)
    need xmllint libxml2-utils
    need update-mime-database shared-mime-info
    registered
    for file in "$data/kelo-chess.xml" "$work/data/mime/packages/kelo-chess.xml"; do
        xmllint --noout "$file" || fail "$file is not well-formed"
        rm -rf "$work/mime" && mkdir -p "$work/mime/packages"
        cp "$file" "$work/mime/packages/"
        # Told that the folder is a data folder, it has nothing to say about a sound file.
        XDG_DATA_HOME=$work XDG_DATA_DIRS=$work update-mime-database "$work/mime" \
            2>"$work/mime.log" || fail "update-mime-database"
        if [ -s "$work/mime.log" ]; then
            cat "$work/mime.log" >&2
            fail "update-mime-database complained about $file"
        fi
        grep -q '^50:application/x-kelo-chess-record:\*\.che$' "$work/mime/globs2" ||
            fail "$file: no *.che glob"
        grep -q '^application/x-kelo-chess-record:application-x-kelo-chess-record$' \
            "$work/mime/icons" || fail "$file: the type names no icon"
    done
    ;;
*)
    fail "unknown check $check"
    ;;
esac
echo "PASS: $check"
