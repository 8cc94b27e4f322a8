#!/usr/bin/env bash
# Runs a cross-built test program under Wine with the ANSI code page 932, which Wine takes from
# a Japanese locale; the locale is made here, without root, in the run's throwaway folder.
#   run-932.sh <program.exe> [arguments]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine/prefix.sh"
velkin_wine_env

velkin_throwaway_prefix cp932 || exit 1
localedef -i ja_JP -f UTF-8 "$VELKIN_WORK/ja_JP.UTF-8"
export LOCPATH="$VELKIN_WORK" LC_ALL=ja_JP.UTF-8
status=0
wine "$@" || status=$?
exit "$status"
