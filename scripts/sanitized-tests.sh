#!/usr/bin/env bash
# Builds the processor core with ThreadSanitizer and runs the thread stress test, then
# builds the fuzz targets (state, preset and settings files, value texts, clipboard text and
# the audio path) with clang's libFuzzer, ASan and UBSan, and runs each for a bounded time,
# as many side by side as there are jobs (TIDEWELL_JOBS, by default one per core), beside a
# test of the framework's reading of file names and environment variables.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
jobs="${TIDEWELL_JOBS:-$(nproc)}"

if [ -f "$root/tests/sanitized/StressTest.cpp" ]; then
    cmake -S "$root" -B "$build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTIDEWELL_STRESS_ONLY=ON \
        -DCMAKE_C_FLAGS="-fsanitize=thread" -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
    cmake --build "$build/tsan" --parallel "$jobs"
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --test-dir "$build/tsan" --output-on-failure
fi

if compgen -G "$root/tests/sanitized/fuzz/*.cpp" > /dev/null; then
    cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTIDEWELL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
    cmake --build "$build/fuzz" --parallel "$jobs"
    ctest --test-dir "$build/fuzz" --output-on-failure --parallel "$jobs"
fi
