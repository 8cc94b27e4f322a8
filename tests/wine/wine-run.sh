#!/usr/bin/env bash
# Runs one cross-built program under Wine in a throwaway prefix, on a display of its own
# when none is given, and returns the program's exit code.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/prefix.sh"
velkin_wine_env

velkin_throwaway_prefix run || exit 1
export VELKIN_WINE_USER="$(velkin_wine_user)"
wine "$@"
