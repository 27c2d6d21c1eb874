#!/usr/bin/env bash
# Installs what is needed, builds the plug-in, installs the VST3 and LV2 bundles into the
# user's plug-in folders and starts the Standalone application when there is a display.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TIDEWELL_BUILD_DIR:-$root/build}/release"
jobs="${TIDEWELL_JOBS:-$(nproc)}"

# The product's name, as the build declares it; the bundles and the Standalone are named after it.
product="$(sed -n 's/^set(TIDEWELL_PRODUCT_NAME "\(.*\)")$/\1/p' "$root/cmake/TidewellTargets.cmake")"
[ -n "$product" ] || { echo "cmake/TidewellTargets.cmake declares no TIDEWELL_PRODUCT_NAME." >&2; exit 1; }

# The framework draws through X11 only (a Wayland session offers it through XWayland, which sets
# DISPLAY). Without a display that answers, the Standalone cannot open its window; say what was
# installed and how to use it instead. The check is the Standalone's own, built beside it.
display_check="$build/tidewell_display_check"

start_standalone()
{
    local missing=""
    if [ -z "${DISPLAY:-}" ]; then
        missing="DISPLAY is not set"
    elif ! timeout 10 "$display_check"; then
        missing="no X server answers at DISPLAY=$DISPLAY, or it refuses the connection"
    fi
    if [ -n "$missing" ]; then
        echo "No X11 display ($missing), so the Standalone was not started."
        echo "Load $product in a plug-in host (a DAW) from ~/.vst3 or ~/.lv2, or, once a display is"
        echo "there, start the Standalone with:"
        echo "  \"$1\""
        return 0
    fi
    exec "$1"
}

# Sourced by the tests for start_standalone; run, it does the whole job.
if [ "${BASH_SOURCE[0]}" != "$0" ]; then
    return 0
fi

"$root/scripts/install-deps.sh"

# The tests are configured by the test command, which also installs what they need.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIDEWELL_BUILD_TESTS=OFF
cmake --build "$build" --parallel "$jobs" \
    --target QEXTidewell_VST3 QEXTidewell_LV2 QEXTidewell_Standalone tidewell_display_check

artefacts="$build/QEXTidewell_artefacts/Release"
mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/$product.vst3" "$HOME/.lv2/$product.lv2"
cp -r "$artefacts/VST3/$product.vst3" "$HOME/.vst3/"
cp -r "$artefacts/LV2/$product.lv2" "$HOME/.lv2/"
echo "Installed the VST3 bundle in ~/.vst3 and the LV2 bundle in ~/.lv2."

start_standalone "$artefacts/Standalone/$product"
