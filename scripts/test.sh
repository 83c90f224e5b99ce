#!/usr/bin/env bash
# Builds and runs every test: a normal build, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a few seconds of each fuzz target (when clang is there).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
passed=0
# Runs ctest in a build folder and adds its count of tests to the total (a failure stops here).
run_ctest() {
    local dir=$1 summary
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" | tee "$dir/ctest-summary.log"
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
    run_ctest build-asan

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
        passed=$((passed + 1))
    done
else
    echo "fuzz: clang++ not found, skipped"
fi

# Every step above stops the script on its first failure, so reaching here means none failed.
echo "tests: $passed passed, 0 failed"
