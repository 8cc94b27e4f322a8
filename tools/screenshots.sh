#!/usr/bin/env bash
# Makes the README's two pictures again, docs/screenshot.png (96 DPI) and
# docs/screenshot-144dpi.png, from the demo on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
unset DISPLAY
VELKIN_DEMO_SHOT="$PWD/docs/screenshot.png" bash tools/demo.sh "$@"
VELKIN_DEMO_DPI=144 VELKIN_DEMO_SHOT="$PWD/docs/screenshot-144dpi.png" bash tools/demo.sh --no-setup
