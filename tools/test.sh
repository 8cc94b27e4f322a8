#!/usr/bin/env bash
# Sets the machine up, builds every preset and runs every test: natively, under the
# sanitizers, and the two Windows builds under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

. tests/wine/prefix.sh
velkin_wine_env
velkin_ensure_display
trap velkin_stop_display EXIT
velkin_template_prefix >/dev/null

jobs=$(nproc)
for preset in native native-asan win32 win64; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
