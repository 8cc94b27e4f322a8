#!/usr/bin/env bash
# Runs the end-to-end driver against Velkin.exe in a fresh Wine prefix on a display of its own.
#   run-e2e.sh <velkin_e2e.exe> <Velkin.exe> <golden folder> [driver arguments, --gtest_filter=...]
# The stand-in game corvane_stub.exe is taken from beside the driver, which runs the cases.
# VELKIN_E2E_DPI=144 (or another) sets the prefix's display to that DPI before Velkin starts.
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 <velkin_e2e.exe> <Velkin.exe> <golden folder> [driver arguments]" >&2
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
        >/dev/null
    wineserver -w
fi

# The machine: the driver and the golden files in a folder of their own, Velkin.exe in
# C:\velkin, and the stand-in game three times: as the game in a folder with a blank in its
# name, as the decoy that an unquoted start of that path would run (and that the 64-bit registry
# view names), and as a cmd.exe planted beside Velkin.exe. The driver registers the game in the
# 32-bit view for each case.
c="$WINEPREFIX/drive_c"
# The settings folders where detection looks: in Documents, on XP, in a Documents folder that
# the shell moved.
user="$(velkin_wine_user)"
mkdir -p "$c/e2e/golden" "$c/velkin/empty folder" "$c/Games/Corvane Test" \
    "$c/users/$user/Documents/Corvane" "$c/Documents and Settings/$user/My Documents/Corvane" \
    "$c/MyDocs/Corvane"
cp "$driver" "$c/e2e/velkin_e2e.exe"
cp "$golden"/*.cfg "$c/e2e/golden/"
cp "$here/demo/Environment.cfg" "$c/e2e/demo.cfg"
cp "$velkin" "$c/velkin/Velkin.exe"
for to in "Games/Corvane Test/Corvane.exe" Games/Corvane.exe velkin/cmd.exe; do
    cp "$(dirname "$driver")/corvane_stub.exe" "$c/$to"
done
# A file that is no program, for a launch that cannot start.
printf 'not a program' >"$c/Games/notes.exe"
# Velkin where it cannot write, as under Program Files or on a read-only share, beside the
# usr.tmp that an earlier version left there. Root ignores permissions, so for root it is a
# read-only mount, which the prefix's cleanup undoes; the driver skips the case, saying so, where
# the folder stays writable.
mkdir -p "$c/readonly"
cp "$velkin" "$c/readonly/Velkin.exe"
printf 'olduser ' >"$c/readonly/usr.tmp"
if [ "$(id -u)" = 0 ]; then
    mount --bind "$c/readonly" "$c/readonly" 2>/dev/null &&
        mount -o remount,bind,ro "$c/readonly" 2>/dev/null || true
else
    chmod a-w "$c/readonly"
fi
wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Corvane_is1' \
    /v DisplayIcon /d 'C:\Games\Corvane.exe' /f /reg:64 >/dev/null

shift 3
wine 'C:\e2e\velkin_e2e.exe' "$@"
