#!/usr/bin/env bash
# Runs one cross-built program under Wine in a throwaway prefix, on a display of its own
# when none is given, and returns the program's exit code.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/prefix.sh"
velkin_wine_env

velkin_throwaway_prefix run || exit 1
status=0
wine "$@" || status=$?
exit "$status"
