#!/usr/bin/env bash
# Runs the end-to-end driver against Velkin.exe in a fresh Wine prefix on a display of its own.
#   run-e2e.sh <velkin_e2e.exe> <Velkin.exe> <golden folder> [case name part]
# The stand-in game corvane_stub.exe is taken from beside the driver.
# VELKIN_E2E_DPI=144 (or another) sets the prefix's display to that DPI before Velkin starts.
set -u
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $0 <velkin_e2e.exe> <Velkin.exe> <golden folder> [case name part]" >&2
    exit 2
fi
driver="$(realpath "$1")"
velkin="$(realpath "$2")"
golden="$(realpath "$3")"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine/prefix.sh"
velkin_wine_env
velkin_throwaway_prefix e2e || exit 1

if [ -n "${VELKIN_E2E_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VELKIN_E2E_DPI" /f \
        >/dev/null || exit 1
    wineserver -w
fi

# The driver and the stand-in run from inside the prefix, away from the build tree.
mkdir -p "$WINEPREFIX/drive_c/e2e"
cp "$driver" "$WINEPREFIX/drive_c/e2e/velkin_e2e.exe"
cp "$(dirname "$driver")/corvane_stub.exe" "$WINEPREFIX/drive_c/e2e/corvane_stub.exe" || exit 1
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

args=("$(winpath "$velkin")" "$(winpath "$golden")")
[ -n "${4:-}" ] && args+=("$4")
wine 'C:\e2e\velkin_e2e.exe' "${args[@]}"
