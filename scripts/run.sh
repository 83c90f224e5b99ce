#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the client and starts it. Without arguments: a game against the computer (kelo-chess
# --practice: the table at a reference server of its own against kelo-bot with a chess engine;
# its dialog asks the level, the colour and the clocks). "--local" opens the local table on which
# one person plays both sides, and the path of a record continues that game there; any other
# arguments go to kelo-chess as they are (kelo-chess --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The table, the server and the bot it starts for a game against the computer, and the data.
cmake --build build -j "$(nproc)" --target kelo-chess kelo-table-server kelo-bot
if [ $# -eq 0 ]; then
    exec build/kelo-chess --practice
fi
exec build/kelo-chess "$@"
