#!/usr/bin/env bash
# Installs what is needed, checks the formatting, builds everything and runs the whole test
# suite: the unit and host tests, the ThreadSanitizer stress test and a bounded fuzz run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TIDEWELL_BUILD_DIR:-$root/build}"
jobs="${TIDEWELL_JOBS:-$(nproc)}"

"$root/scripts/install-deps.sh" --test

"$root/scripts/check-format.sh"

# The run command configures the same folder without the tests.
cmake -S "$root" -B "$build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIDEWELL_BUILD_TESTS=ON
cmake --build "$build/release" --parallel "$jobs"

# Editors and hosted plug-ins need an X display; Xvfb provides one without a screen.
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build/release" --output-on-failure --parallel "$jobs"

"$root/scripts/sanitized-tests.sh" "$build"

# The engines' portable code, which machines without SSE2 take, against the same hashes.
"$root/scripts/portable-tests.sh" "$build"
