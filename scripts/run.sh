#!/usr/bin/env bash
# Installs what is needed, builds the plug-in, installs the VST3 and LV2 bundles into the
# user's plug-in folders and starts the Standalone application.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TIDEWELL_BUILD_DIR:-$root/build}/release"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)" --target QEXTidewell_VST3 QEXTidewell_LV2 QEXTidewell_Standalone

artefacts="$build/QEXTidewell_artefacts/Release"
mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/QEX Tidewell.vst3" "$HOME/.lv2/QEX Tidewell.lv2"
cp -r "$artefacts/VST3/QEX Tidewell.vst3" "$HOME/.vst3/"
cp -r "$artefacts/LV2/QEX Tidewell.lv2" "$HOME/.lv2/"
echo "Installed the VST3 bundle in ~/.vst3 and the LV2 bundle in ~/.lv2."

exec "$artefacts/Standalone/QEX Tidewell"
