#!/usr/bin/env bash
# Builds the client and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# Until the table window exists the program is the rules engine: count the moves of the
# start position.
exec build/tools/perft/kelo-perft "${@:-5}"
