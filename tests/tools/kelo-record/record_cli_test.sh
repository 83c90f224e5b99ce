#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelo-record's command line: a PGN game made into a record and written back as the same PGN
# moves and bytes, info's fields, errors as one line with status 2.
set -u
record=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/../../../scripts/test_helpers.sh"

"$record" from-pgn "$here/game.pgn" "$work/game.che" || fail "from-pgn refused the game"
info=$("$record" info "$work/game.che")
for line in "version: 1.1" "slot 0: id 50001336, White, Alice" "slot 1: id 1001, Black, 甲" \
            "moves: 41" "e5d6 a6a5" "c7b8n b7b6" "e1g1 a8a7"; do
    grep -qxF "$line" <<<"$info" || fail "info lacks '$line'"
done
"$record" pgn "$work/game.che" >"$work/again.pgn" || fail "pgn failed"
grep -qF '5. cxb8=N b6' "$work/again.pgn" || fail "the promotion is not written as cxb8=N"
grep -qF '21. Nc3+ 1-0' "$work/again.pgn" && fail "the game did not end in mate, yet 1-0 was written"
grep -qF '[Result "*"]' "$work/again.pgn" || fail "an unfinished game's result is not *"
"$record" from-pgn "$work/again.pgn" "$work/again.che" --white Alice --black 甲 ||
    fail "from-pgn refused its own PGN"
cmp -s "$work/game.che" "$work/again.che" || fail "pgn then from-pgn changed the record"

# The date comes from the time stamp at the end of the file's name, as the client writes it; a
# name without one (the save button's) or with a stamp that is no date keeps "????.??.??".
for case in "甲_乙_081208_2105.che|2008.12.08" "甲_乙_081208_2105_2.che|2008.12.08" \
            "a_b_991231_2359.che|1999.12.31" "甲_乙_.che|????.??.??" \
            "a_b_081399_2105.che|????.??.??" "plain.che|????.??.??"; do
    name=${case%%|*} date=${case#*|}
    cp "$work/game.che" "$work/$name"
    "$record" pgn "$work/$name" | grep -qxF "[Date \"$date\"]" || fail "$name does not give [Date \"$date\"]"
done

# A mate gets its sign and the result.
printf '1. f3 e5 2. g4 Qh4#\n' >"$work/mate.pgn"
"$record" from-pgn "$work/mate.pgn" "$work/mate.che" --white W --black B
"$record" pgn "$work/mate.che" >"$work/mate-again.pgn"
grep -qxF '1. f3 e5 2. g4 Qh4# 0-1' "$work/mate-again.pgn" || fail "no mate sign or result"
grep -qxF '[Result "0-1"]' "$work/mate-again.pgn" || fail "a mate's result tag is not 0-1"
# White mates, and a stalemate is a draw: the record holds no result, the position proves it.
printf '1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6 4. Qxf7#\n' >"$work/white.pgn"
"$record" from-pgn "$work/white.pgn" "$work/white.che" --white W --black B
"$record" pgn "$work/white.che" | grep -qxF '[Result "1-0"]' || fail "White's mate is not 1-0"
printf '1. e3 a5 2. Qh5 Ra6 3. Qxa5 h5 4. h4 Rah6 5. Qxc7 f6 6. Qxd7+ Kf7 7. Qxb7 Qd3\n8. Qxb8 Qh7 9. Qxc8 Kg6 10. Qe6\n' >"$work/stalemate.pgn"
"$record" from-pgn "$work/stalemate.pgn" "$work/stalemate.che" --white W --black B
"$record" pgn "$work/stalemate.che" >"$work/stalemate-again.pgn"
grep -qxF '[Result "1/2-1/2"]' "$work/stalemate-again.pgn" || fail "a stalemate's result tag is not 1/2-1/2"
grep -qF '10. Qe6 1/2-1/2' "$work/stalemate-again.pgn" || fail "a stalemate's moves do not end in 1/2-1/2"

printf '1. e4 e5 2. Ke3 Nc6\n' >"$work/illegal.pgn"
expect_error "$record" "move 2. Ke3 is illegal" from-pgn "$work/illegal.pgn" "$work/x.che"
[ -e "$work/x.che" ] && fail "a record was written for an illegal game"
head -c 30 "$work/game.che" >"$work/cut.che"
expect_error "$record" "damaged record" info "$work/cut.che"
expect_error "$record" "damaged record" pgn "$work/cut.che"
printf '\x00\x00\x00\x00\x00\x00\xf0\x3f' >"$work/old.che"
expect_error "$record" "version is not 1.1" info "$work/old.che"
expect_error "$record" "cannot be opened" info "$work/missing.che"
expect_error "$record" "unknown command" frobnicate

[ $failures -eq 0 ] && echo "kelo-record: all checks passed"
exit $((failures > 0))
