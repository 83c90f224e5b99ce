#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The PGN that kelo-record writes is read by chess.js, a chess library that other programs use,
# to the same moves. chess.js comes from npm into a temporary folder; without node or npm the
# test is skipped (status 77).
set -u
record=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v node >/dev/null && command -v npm >/dev/null || { echo "node or npm missing"; exit 77; }
(cd "$work" && npm init -y >/dev/null && npm install --silent --prefer-offline chess.js >/dev/null 2>&1) ||
    { echo "chess.js could not be installed"; exit 77; }
"$record" from-pgn "$here/game.pgn" "$work/game.che" || exit 1
"$record" pgn "$work/game.che" >"$work/game.pgn" || exit 1
printf '1. f3 e5 2. g4 Qh4#\n' >"$work/mate.pgn"
"$record" from-pgn "$work/mate.pgn" "$work/mate.che" && "$record" pgn "$work/mate.che" >"$work/mate-out.pgn" || exit 1
cd "$work" && node - "$work/game.pgn" 41 "$work/mate-out.pgn" 4 <<'JS'
const { Chess } = require('chess.js');
const fs = require('fs');
const args = process.argv.slice(2);
let failed = false;
for (let i = 0; i < args.length; i += 2) {
    const chess = new Chess();
    try {
        chess.loadPgn(fs.readFileSync(args[i], 'utf8'));
    } catch (e) {
        console.log(`FAIL: chess.js refused ${args[i]}: ${e.message}`);
        failed = true;
        continue;
    }
    const moves = chess.history().length;
    if (moves !== Number(args[i + 1])) {
        console.log(`FAIL: ${args[i]}: chess.js read ${moves} moves, expected ${args[i + 1]}`);
        failed = true;
    }
}
if (args.length >= 4) {
    const chess = new Chess();
    chess.loadPgn(fs.readFileSync(args[2], 'utf8'));
    if (!chess.isCheckmate()) { console.log('FAIL: chess.js finds no mate'); failed = true; }
}
if (!failed) console.log('chess.js read every game');
process.exit(failed ? 1 : 0);
JS
