#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills the writer of the client's files (a game record, the index of adjourned games, the
# settings) with kill -9 at a random moment, ROUNDS times (200 by default). After each kill the
# next writer's start reads every file back, as the client's next start would: each must be the
# old content or the new one, read without a word to the user, and each of the two folders may
# hold at most the one temporary file of the killed write. A last check follows the last kill.
#   kill_while_writing_test.sh WRITER [ROUNDS]
# The seed of the moments is printed; KELO_KILL_SEED=N repeats a run.
set -u
writer=$1
rounds=${2:-200}
seed=${KELO_KILL_SEED:-$(((RANDOM << 15 | RANDOM) % 1000000))}
echo "seed $seed (KELO_KILL_SEED=$seed repeats this run)"
RANDOM=$seed

work=$(mktemp -d)
loop_pid=""
cleanup() {
    [ -n "$loop_pid" ] && kill -9 "$loop_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$writer" init "$work" || { echo "FAIL: the first write failed"; exit 1; }
declare -A seen=()
failures=0 most_strays=0 inside=0
# judge ROUND REPORT: counts what a check found after the kill of ROUND (0: before the first).
judge() {
    local what verdict
    if grep -q '^BAD' <<<"$2"; then
        echo "FAIL: after the kill of round $1 ($delay us): $(grep '^BAD' <<<"$2")"
        failures=$((failures + 1))
    fi
    while read -r what verdict; do
        case $what in
        BAD | "") ;;
        strays)
            [ "$verdict" -gt "$most_strays" ] && most_strays=$verdict
            [ "$verdict" -gt 0 ] && inside=$((inside + 1))
            # A killed write leaves at most its own temporary file, and the next write into its
            # folder clears it.
            if [ "$verdict" -gt 1 ]; then
                echo "FAIL: after the kill of round $1: $verdict temporary files in one folder"
                failures=$((failures + 1))
            fi
            ;;
        *) seen[$what-$verdict]=$((${seen[$what-$verdict]:-0} + 1)) ;;
        esac
    done <<<"$2"
}

delay=0
for round in $(seq "$rounds"); do
    # The writer reads the files first, then says when it begins writing; the kill falls 0 to
    # 40 ms later, over several rounds of the three writes.
    coproc LOOP { exec "$writer" loop "$work"; }
    loop_pid=$LOOP_PID
    report="" line=""
    while read -r line <&"${LOOP[0]}" && [ "$line" != writing ]; do report+=$line$'\n'; done
    [ "$line" = writing ] || { echo "FAIL: the writer did not start: $report"; exit 1; }
    [ "$round" -gt 1 ] && judge $((round - 1)) "$report"
    delay=$((RANDOM % 40000))
    sleep "$(printf '0.%06d' "$delay")"
    kill -9 "$loop_pid"
    wait "$loop_pid" 2>/dev/null
    loop_pid=""
done
judge "$rounds" "$("$writer" check "$work")"

summary=""
for key in $(printf '%s\n' "${!seen[@]}" | sort); do summary+=" $key:${seen[$key]}"; done
echo "after $rounds kills:$summary; $inside check(s) found the temporary file of a killed write," \
    "at most $most_strays at a time"
[ "$failures" -eq 0 ] || { echo "FAIL: $failures round(s) went wrong (seed $seed)"; exit 1; }
echo "PASS: every file was whole, the old or the new one, after every kill"
