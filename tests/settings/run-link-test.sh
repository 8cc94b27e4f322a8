#!/usr/bin/env bash
# Runs the Win32 file system's tests with a symbolic link for them to write through. Only the
# Unix side can make a link that Wine follows, so it is made here, in a temporary folder that
# goes again however the run ends.
#   run-link-test.sh [emulator] <velkin_file_system_tests.exe>
set -euo pipefail
dir="$(mktemp -d "${TMPDIR:-/tmp}/velkin-link.XXXXXX")"
trap 'rm -rf "$dir"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# ctest ends a test that runs out of time by killing it and its children with SIGKILL, which no
# trap sees: a watcher that is no child of this shell removes the folder once the shell is gone.
shell=$$
( (
    trap '' HUP INT TERM
    while kill -0 "$shell" 2>/dev/null; do sleep 1; done
    rm -rf "$dir"
) </dev/null >/dev/null 2>&1 & )

mkdir "$dir/synced"
echo old >"$dir/synced/Environment.cfg"
ln -s synced/Environment.cfg "$dir/link.cfg"
export VELKIN_LINK_DIR="Z:$dir"
"$@"
