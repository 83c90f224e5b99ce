#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks kelo-perft's command line: counts on the last line, errors as one line with status 2.
set -u
source "$(dirname "$0")/../../../scripts/test_helpers.sh"
perft=$1

expect_count() {
    local expected=$1; shift
    local got
    got=$("$perft" "$@" | tail -n 1)
    if [ "$got" != "$expected" ]; then
        fail "kelo-perft $* printed '$got', expected '$expected'"
    fi
}


expect_count 8902 3
expect_count 2039 --fen "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" 2
expect_count 264 --divide --fen "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1" 2
divide=$("$perft" --divide 1 | grep -c '^[a-h][1-8][a-h][1-8]: 1$')
[ "$divide" = 20 ] || { echo "FAIL: --divide 1 listed $divide moves, expected 20"; failures=$((failures + 1)); }

expect_error "$perft" "DEPTH" 0
expect_error "$perft" "DEPTH" three
expect_error "$perft" "missing DEPTH"
expect_error "$perft" "one king" --fen "8/8/8/8/8/8/8/8 w - - 0 1" 1
expect_error "$perft" "side to move" --fen "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1" 1
expect_error "$perft" "needs a FEN" 1 --fen
lines=$("$perft" --fen "garbage" 1 2>&1 | wc -l)
[ "$lines" -eq 1 ] || { echo "FAIL: a bad FEN printed $lines lines"; failures=$((failures + 1)); }

echo "perft command line: $failures failed"
[ $failures -eq 0 ]
