#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs kelo-perft beside the chess.js library on the same positions in one run and prints the
# nodes per second of both, their ratio and kelo-perft's peak memory.
# Needs node and npm; chess.js is installed into a temporary folder that is removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
perft=${KELO_PERFT:-build/tools/perft/kelo-perft}
[ -x "$perft" ] || { echo "build first: $perft is missing" >&2; exit 1; }
command -v node >/dev/null && command -v npm >/dev/null || { echo "node and npm are needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm init -y >/dev/null && npm install --silent chess.js >/dev/null)
cat > "$work/perft.js" <<'JS'
const { Chess } = require('chess.js');
const chess = new Chess(process.argv[2]);
const start = process.hrtime.bigint();
const nodes = chess.perft(parseInt(process.argv[3], 10));
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
console.log(`${nodes} ${seconds}`);
JS

run() {
    local name=$1 fen=$2 depth=$3
    local out start end nodes seconds peak js_nodes js_seconds
    start=$(date +%s.%N)
    out=$( { /usr/bin/time -f 'peak_kb %M' "$perft" --fen "$fen" "$depth"; } 2>&1 )
    end=$(date +%s.%N)
    nodes=$(echo "$out" | grep -v peak_kb | tail -1)
    peak=$(echo "$out" | awk '/peak_kb/ {print $2}')
    seconds=$(echo "$end - $start" | bc -l)
    read -r js_nodes js_seconds < <(cd "$work" && node perft.js "$fen" "$depth")
    [ "$nodes" = "$js_nodes" ] || echo "warning: $name counts differ: kelo $nodes, chess.js $js_nodes"
    awk -v n="$name" -v d="$depth" -v kn="$nodes" -v ks="$seconds" -v jn="$js_nodes" \
        -v js="$js_seconds" -v pk="$peak" 'BEGIN {
            printf "%-10s depth %d: kelo-perft %.0f nodes/s (%.2f s, peak %.1f MB), chess.js %.0f nodes/s (%.2f s), ratio %.2f\n",
                   n, d, kn / ks, ks, pk / 1024, jn / js, js, (kn / ks) / (jn / js) }'
}

run start "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 5
run kiwipete "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" 4
