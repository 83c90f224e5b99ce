#!/usr/bin/env bash
# Builds and runs every test: a normal build, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a few seconds of each fuzz target (when clang is there).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)

echo "== build (RelWithDebInfo)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELO_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz (libFuzzer, a few seconds per target)"
if command -v clang++ >/dev/null 2>&1; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELO_FUZZ=ON -DKELO_BUILD_GUI=OFF -DKELO_BUILD_BENCH=OFF >/dev/null
    # folder/name: the target kelo-fuzz-name lives in fuzz/folder, its seeds in fuzz/folder/seeds.
    fuzz_targets=(base/IniFile base/GbkConverter link/MessageReader)
    names=()
    for entry in "${fuzz_targets[@]}"; do names+=("kelo-fuzz-${entry#*/}"); done
    cmake --build build-fuzz -j "$jobs" --target "${names[@]}"
    for entry in "${fuzz_targets[@]}"; do
        folder=${entry%%/*}
        target=${entry#*/}
        # New inputs go to a corpus in the build folder; the checked-in seeds are only read.
        corpus=build-fuzz/corpus/$target
        seeds=fuzz/$folder/seeds/$target
        [ -d "$seeds" ] || seeds=fuzz/$folder/seeds
        mkdir -p "$corpus"
        log=build-fuzz/fuzz-$target.log
        if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            "build-fuzz/fuzz/$folder/kelo-fuzz-$target" -max_total_time=5 -max_len=4096 \
            -artifact_prefix=build-fuzz/ "$corpus" "$seeds" >"$log" 2>&1; then
            tail -n 40 "$log"
            echo "fuzz: kelo-fuzz-$target failed (log: $log)"
            exit 1
        fi
        echo "kelo-fuzz-$target: no failure ($(ls "$corpus" | wc -l) inputs in its corpus)"
    done
else
    echo "fuzz: clang++ not found, skipped"
fi
