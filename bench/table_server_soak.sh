#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A soak run of the reference server on loopback: GAMES games (default 200) between kelo-bot
# pairs through one server with its default limits, DESKS desks (default 8) playing at once, a
# watcher at every other desk. Three game lines take turns: the Fool's mate, a 13-ply mate by
# White, and a stalemate after 19 plies. The players say a line at ply 2. Beside the games, 100
# churning watchers (CHURN) enter the desks one after the other, say a line if a game is under
# way, and go: half of them stop watching at the end of the game (3027), half lose their
# connection (killed). At the end, a final desk: two players and a watcher, with --people, while
# ten watchers come and go; every one of the three must end with exactly the three in its list.
# Prints the figures and checks them: every game finished (both players and the watcher saw
# the result and exited 0), no violation and no client dropped, the final people lists right,
# and the server's resident memory at the end within 10 % of what it was after the first 10
# games.
# Bounded: at most LIMIT seconds in all (default 900), every bot at most 60 s; it stops by
# itself. Long, so not part of ctest.
# usage: bench/table_server_soak.sh [SERVER [BOT]]   (defaults: the build/ programs)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/table_server.sh
server=$(realpath "${1:-build/tools/table-server/kelo-table-server}")
bot=$(realpath "${2:-build/tools/kelo-bot/kelo-bot}")
games=${GAMES:-200}
desks=${DESKS:-8}
limit=${LIMIT:-900}
[ -x "$server" ] && [ -x "$bot" ] || { echo "build first: $server, $bot" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
dir=$(mktemp -d)
server_pid=
desk_pids=()
cleanup() {
    for pid in "${desk_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

lines=(
    "f2f3 e7e5 g2g4 d8h4"
    "a2a3 a7a6 h2h3 h7h6 b2b3 b7b6 e2e4 e7e5 d1h5 b8c6 f1c4 g8f6 h5f7"
    "e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6"
)

rss_kib() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$server_pid/status"; }
peak_kib() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$server_pid/status"; }

"$server" --port 0 >"$dir/server.out" 2>&1 &
server_pid=$!
port=$(listening_port "$dir/server.out") || { echo "the server did not listen"; exit 1; }

# play_desk DESK COUNT: COUNT games one after the other at that desk; one line per game in
# results ("ok" or "failed"), the bots' output of a failed game kept.
play_desk() {
    local desk=$1 count=$2 game line people pids status name
    people="--player ${desk}1:white$desk:White$desk:0 --player ${desk}2:black$desk:Black$desk:1"
    people+=" --watcher ${desk}3:watch$desk:Watch$desk:1"
    for game in $(seq "$count"); do
        line=${lines[$(((desk + game) % ${#lines[@]}))]}
        pids=()
        names=(white black)
        [ $((desk % 2)) = 1 ] && names=(watch white black)
        # The watcher first, so that it is there when the game begins and ends.
        for name in "${names[@]}"; do
            "$bot" --server 127.0.0.1:$port --desk "$desk" $people --me "$name$desk" \
                --moves "$line" --quit-after-result --timeout 60 --say "gg@2" \
                >"$dir/d$desk-g$game-$name.out" 2>&1 &
            pids+=($!)
            [ "$name" = watch ] || continue
            for _ in $(seq 100); do
                grep -qs '^recv 3010 ' "$dir/d$desk-g$game-$name.out" && break
                sleep 0.1
            done
        done
        status=ok
        for pid in "${pids[@]}"; do wait "$pid" || status=failed; done
        for name in "${names[@]}"; do
            grep -q '^recv 651 \|^recv 656 ' "$dir/d$desk-g$game-$name.out" || status=failed
        done
        echo "$status desk $desk game $game" >>"$dir/results"
        [ $status = ok ] && rm -f "$dir/d$desk-g$game-"*.out
    done
}

# churn COUNT: COUNT watchers one after the other, each at the next desk with a watch number of
# its own; each says a line at plies 1 and 3 of the game it watches, and goes after a second:
# the even ones are killed, the odd ones stop watching at the end of their game (their timeout
# ends them if no game ends). One line each in churned.
churn() {
    local count=$1 i desk id pid
    for i in $(seq "$count"); do
        desk=$((i % desks + 1))
        id=$((50000 + i))
        "$bot" --server 127.0.0.1:$port --desk "$desk" --watcher "$id:churn$i:Churn$i:$((10 + i)):0" \
            --me "churn$i" --say "hello@1" --say "bye@3" --quit-after-result --timeout 20 \
            >"$dir/churn$i.out" 2>&1 &
        pid=$!
        sleep 1
        if [ $((i % 2)) = 0 ]; then
            kill -KILL "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
        fi
        echo "churned $i" >>"$dir/churned"
    done
    wait
}

: >"$dir/results"
: >"$dir/churned"
start=$(date +%s.%N)
churn "${CHURN:-100}" 2>/dev/null &
churn_pid=$!
per_desk=$((games / desks))
for desk in $(seq "$desks"); do
    count=$per_desk
    [ "$desk" -le $((games % desks)) ] && count=$((count + 1))
    play_desk "$desk" "$count" &
    desk_pids+=($!)
done
after10=
deadline=$(($(date +%s) + limit))
while [ "$(wc -l <"$dir/results" 2>/dev/null || echo 0)" -lt "$games" ]; do
    if [ -z "$after10" ] && [ "$(wc -l <"$dir/results" 2>/dev/null || echo 0)" -ge 10 ]; then
        after10=$(rss_kib)
    fi
    if [ "$(date +%s)" -ge "$deadline" ]; then
        echo "not finished within $limit s"
        break
    fi
    sleep 0.2
done
for pid in "${desk_pids[@]}"; do wait "$pid"; done
desk_pids=()
wait "$churn_pid"
churned=$(wc -l <"$dir/churned")
chats=$(grep -hc '^sent 3021 ' "$dir"/churn*.out 2>/dev/null | paste -sd+ | bc)

# The final desk: the three sit with --people (no moves: the game waits), ten watchers come and
# go (even ones killed, odd ones leave when killed too: no game ends here), then every list must
# hold exactly the three.
final=99
finals=()
people="--player ${final}1:whitef:WhiteF:0 --player ${final}2:blackf:BlackF:1"
people+=" --watcher ${final}3:watchf:WatchF:1"
for name in whitef blackf watchf; do
    "$bot" --server 127.0.0.1:$port --desk $final $people --me "$name" --moves "e2e4" --people \
        --timeout 120 >"$dir/final-$name.out" 2>&1 &
    finals+=($!)
    for _ in $(seq 100); do
        grep -qs '^people ' "$dir/final-$name.out" && break
        sleep 0.1
    done
done
for i in $(seq 10); do
    "$bot" --server 127.0.0.1:$port --desk $final --watcher "$((60000 + i)):late$i:Late$i:$((20 + i)):0" \
        --me "late$i" --people --timeout 20 >"$dir/final-late$i.out" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
        grep -qs '^people ' "$dir/final-late$i.out" && break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done
sleep 1 # the last departures are announced
expected="people ${final}1,${final}2,${final}3"
lists_ok=1
for name in whitef blackf watchf; do
    last=$(grep '^people ' "$dir/final-$name.out" | tail -n1)
    seen=$(grep -c '^people .*6000' "$dir/final-$name.out")
    if [ "$last" != "$expected" ] || [ "$seen" -lt 1 ]; then
        echo "final people list of $name: '$last' (lists with a late watcher: $seen)"
        lists_ok=0
    fi
done
for pid in "${finals[@]}"; do kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
elapsed=$(echo "$(date +%s.%N) - $start" | bc)
sleep 1 # the last leaves are taken in
end=$(rss_kib)
peak=$(peak_kib)
kill -TERM "$server_pid"
wait "$server_pid"
server_pid=

played=$(wc -l <"$dir/results")
finished=$(grep -c '^ok ' "$dir/results")
violations=$(sed -n 's/^stopped, \([0-9]*\) violations$/\1/p' "$dir/server.out")
dropped=$(grep -c ' dropped: ' "$dir/server.out")
change=$(echo "scale=1; 100 * ($end - $after10) / $after10" | bc)
printf 'games        %d played, %d finished (%d desks at once, watchers at odd desks)\n' \
    "$played" "$finished" "$desks"
printf 'time         %.1f s, %.2f s a game per desk\n' "$elapsed" \
    "$(echo "$elapsed * $desks / $played" | bc -l)"
printf 'churn        %d watchers came and went, %s chat lines from them\n' "$churned" "${chats:-0}"
printf 'people       final lists %s\n' "$([ $lists_ok = 1 ] && echo "exactly the three present" || echo WRONG)"
printf 'violations   %s\n' "${violations:-none reported}"
printf 'dropped      %d clients\n' "$dropped"
printf 'server RSS   %d KiB after 10 games, %d KiB at the end (%s %%), peak %d KiB\n' \
    "$after10" "$end" "$change" "$peak"

ok=1
[ "$played" = "$games" ] && [ "$finished" = "$games" ] || { echo "FAIL: unfinished games"; ok=0; }
[ "$violations" = 0 ] || { echo "FAIL: violations"; ok=0; }
[ $lists_ok = 1 ] || { echo "FAIL: people lists"; ok=0; }
[ "$dropped" = 0 ] || { echo "FAIL: clients dropped"; ok=0; }
[ $((end * 100)) -le $((after10 * 110)) ] && [ $((end * 100)) -ge $((after10 * 90)) ] ||
    { echo "FAIL: memory changed by more than 10 %"; ok=0; }
if [ $ok = 0 ]; then
    grep -v '^ok ' "$dir/results" | head
    grep -E '^violation| dropped: ' "$dir/server.out" | head
    for f in "$dir"/d*.out; do [ -e "$f" ] && { echo "== $f"; tail -n 5 "$f"; }; done | head -60
    exit 1
fi
echo ok
