#!/usr/bin/env bash
# Runs one cross-built program under Wine in a throwaway prefix, on a display of its own
# when none is given, and returns the program's exit code.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/prefix.sh"
velkin_wine_env

work="$(mktemp -d "${TMPDIR:-/tmp}/velkin-run.XXXXXX")"
export WINEPREFIX="$work/prefix"
cleanup() {
    velkin_stop_prefix "$WINEPREFIX"
    velkin_stop_display
    rm -rf "$work"
}
trap cleanup EXIT
velkin_new_prefix "$WINEPREFIX" || { echo "wine-run: could not make a prefix" >&2; exit 1; }
velkin_ensure_display || exit 1
export VELKIN_WINE_USER="$(velkin_wine_user)"
wine "$@"
