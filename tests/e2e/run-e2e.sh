#!/usr/bin/env bash
# Runs the end-to-end driver against Velkin.exe in a fresh Wine prefix on a display of its own.
#   run-e2e.sh <velkin_e2e.exe> <Velkin.exe> <golden folder> [driver arguments, --gtest_filter=...]
# The stand-in game corvane_stub.exe is taken from beside the driver, which runs the cases.
# VELKIN_E2E_DPI=144 (or another) sets the prefix's display to that DPI before Velkin starts.
# VELKIN_E2E_USER=<name> runs Wine as that Windows user; VELKIN_E2E_LOCALE=ja_JP (or another)
# in that language's locale, made for the run, whose ANSI code page Wine then takes.
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
# Both must hold before the prefix's wineserver first starts.
if [ -n "${VELKIN_E2E_USER:-}" ]; then
    export USER="$VELKIN_E2E_USER"
fi
if [ -n "${VELKIN_E2E_LOCALE:-}" ]; then
    # Wine takes the code page from LC_CTYPE, and the language of its boxes' buttons from
    # LC_MESSAGES: English, as the driver reads them (for C it would take LC_CTYPE's language).
    for locale in "$VELKIN_E2E_LOCALE" en_US; do
        localedef -i "$locale" -f UTF-8 "$VELKIN_WORK/$locale.UTF-8"
    done
    export LOCPATH="$VELKIN_WORK"
    unset LC_ALL
    export LC_CTYPE="$VELKIN_E2E_LOCALE.UTF-8" LC_MESSAGES=en_US.UTF-8
fi

if [ -n "${VELKIN_E2E_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VELKIN_E2E_DPI" /f \
        >/dev/null
    wineserver -w
fi

# The machine: the driver and the golden files in a folder of their own, Velkin.exe in
# C:\velkin, and the stand-in game five times: as the game in a folder with a blank in its
# name, as the decoy that an unquoted start of that path would run (and that the 64-bit registry
# view names), as a cmd.exe planted beside Velkin.exe, and as a game in a folder whose name the
# ANSI code page cannot hold, beside a decoy in a folder of plain letters. The driver registers the game in
# the 32-bit view for each case.
c="$WINEPREFIX/drive_c"
# The settings folders where detection looks: in Documents, in Documents folders that
# the shell moved; a typed folder, and the decoy of another account named as the code page would
# narrow the user's name. The names lie outside code page 1252; 表 lies inside 932, as 95 5C.
user="${VELKIN_E2E_USER:-$(velkin_wine_user)}"
mkdir -p "$c/e2e/golden" "$c/velkin" "$c/Games/Corvane Test" "$c/Games/李雷" \
    "$c/Games/Lukasz" \
    "$c/users/$user/Documents/Corvane" \
    "$c/MyDocs/Corvane" "$c/文档/Corvane" "$c/表/Corvane" "$c/Dokumenty Łukasza/Corvane" \
    "$c/users/Lukasz/Documents/Corvane"
cp "$driver" "$c/e2e/velkin_e2e.exe"
cp "$golden"/*.cfg "$c/e2e/golden/"
cp "$here/demo/Environment.cfg" "$c/e2e/demo.cfg"
cp "$velkin" "$c/velkin/Velkin.exe"
for to in "Games/Corvane Test/Corvane.exe" Games/Corvane.exe velkin/cmd.exe \
    Games/李雷/Corvane.exe Games/Lukasz/Corvane.exe; do
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
