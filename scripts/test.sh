#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test: a normal build, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a few seconds of each fuzz target (when clang is there).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
passed=0
# Runs ctest in a build folder (further arguments go to ctest) and adds its count of tests to
# the total (a failure stops here).
run_ctest() {
    local dir=$1 summary
    shift
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" | tee "$dir/ctest-summary.log"
    summary=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$dir/ctest-summary.log")
    passed=$((passed + ${summary:-0}))
}

echo "== build (RelWithDebInfo)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
run_ctest build

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELO_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp run_ctest build-asan

echo "== fuzz (libFuzzer, a few seconds per target)"
if command -v clang++ >/dev/null 2>&1; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELO_FUZZ=ON -DKELO_BUILD_GUI=OFF -DKELO_BUILD_BENCH=OFF >/dev/null
    # Every fuzz target is a ctest test with the label fuzz; kelo-fuzz builds them all.
    cmake --build build-fuzz -j "$jobs" --target kelo-fuzz
    run_ctest build-fuzz -L fuzz
else
    echo "fuzz: clang++ not found, skipped"
fi

# Every step above stops the script on its first failure, so reaching here means none failed.
echo "tests: $passed passed, 0 failed"
