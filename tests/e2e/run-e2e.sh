#!/usr/bin/env bash
# Runs the end-to-end driver against Velkin.exe in a fresh Wine prefix on a display of its own.
#   run-e2e.sh <velkin_e2e.exe> <Velkin.exe> <golden folder> [case name part]
# The game stand-in corvane_stub.exe is taken from beside the driver.
set -u
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $0 <velkin_e2e.exe> <Velkin.exe> <golden folder> [case name part]" >&2
    exit 2
fi
driver="$(realpath "$1")"
velkin="$(realpath "$2")"
golden="$(realpath "$3")"
only="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine/prefix.sh"
velkin_wine_env

work="$(mktemp -d "${TMPDIR:-/tmp}/velkin-e2e.XXXXXX")"
export WINEPREFIX="$work/prefix"
cleanup() {
    velkin_stop_prefix "$WINEPREFIX"
    velkin_stop_display
    rm -rf "$work"
}
trap cleanup EXIT

velkin_new_prefix "$WINEPREFIX" || { echo "run-e2e: could not make a prefix" >&2; exit 1; }
velkin_ensure_display || exit 1

# The driver and its stand-in game run from inside the prefix, away from the build tree.
mkdir -p "$WINEPREFIX/drive_c/e2e"
cp "$driver" "$WINEPREFIX/drive_c/e2e/velkin_e2e.exe"
cp "$(dirname "$driver")/corvane_stub.exe" "$WINEPREFIX/drive_c/e2e/corvane_stub.exe" || exit 1
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

args=("$(winpath "$velkin")" "$(winpath "$golden")")
[ -n "$only" ] && args+=("$only")
wine 'C:\e2e\velkin_e2e.exe' "${args[@]}"
status=$?
exit $status
