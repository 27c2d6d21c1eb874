#!/usr/bin/env bash
# Builds the processor core with the engines' portable code, which machines without SSE2 take,
# and runs the engine and bit-exactness tests on it: the same recorded hashes must hold. Builds
# with TIDEWELL_JOBS jobs, by default one per core.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
jobs="${TIDEWELL_JOBS:-$(nproc)}"

cmake -S "$root" -B "$build/portable" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTIDEWELL_CORE_TESTS_ONLY=ON -DTIDEWELL_NO_SSE2=ON
cmake --build "$build/portable" --parallel "$jobs"
ctest --test-dir "$build/portable" --output-on-failure --parallel "$jobs"
