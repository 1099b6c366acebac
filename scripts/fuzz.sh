#!/usr/bin/env bash
# Builds the libFuzzer harnesses with Clang into build-fuzz/ and runs each for the
# given number of seconds (default 5), starting from its seed corpus in fuzz/corpus/.
# New inputs go to build-fuzz/corpus/, so the seeds in the tree stay as they are.
# Usage: scripts/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
shift || true
. scripts/prepare.sh
BUILD_DIR=build-fuzz
configure "$BUILD_DIR" -DCMAKE_CXX_COMPILER=clang++ -DDRAVOLIN_FUZZ=ON \
    -DDRAVOLIN_BUILD_TESTS=OFF -DDRAVOLIN_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" --target fuzzers --parallel "${DRAVOLIN_JOBS:-$(nproc)}"
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for f in fuzz/*.cpp; do harnesses+=("$(basename "$f" .cpp)"); done
fi
failed=0
for name in "${harnesses[@]}"; do
    work="$BUILD_DIR/corpus/$name"
    log="$BUILD_DIR/$name.log"
    mkdir -p "$work"
    if "$BUILD_DIR/fuzz/${name}_fuzzer" -max_total_time="$seconds" -print_final_stats=0 \
        -artifact_prefix="$BUILD_DIR/crash-$name-" "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
        echo "$name: $(grep -E '^Done' "$log" || echo done) ($seconds s)"
    else
        tail -n 40 "$log"
        echo "$name FAILED: the input is in $BUILD_DIR/crash-$name-*"
        failed=1
    fi
done
exit $failed
