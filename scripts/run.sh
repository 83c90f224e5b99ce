#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the client and starts it: without a hall, that is a local table on which one user plays
# both sides (arguments go to kelo-chess, e.g. the path of a record to continue).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kelo-chess
exec build/kelo-chess "$@"
