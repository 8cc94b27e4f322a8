#!/usr/bin/env bash
# The host against a real (Wine) machine: start-up detection in both folder layouts and in
# Documents, started from another folder beside a stale usr.tmp, with a name outside ASCII, and
# the launcher's failures. The end-to-end tests see the registry view and the planted cmd.exe.
# Usage: run-wine-host-tests.sh host_probe.exe
set -euo pipefail
probe_exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine/prefix.sh"
velkin_wine_env

velkin_throwaway_prefix host

user="$(velkin_wine_user)"
c="$WINEPREFIX/drive_c"
failures=0

fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

reg_set() {  # key value data view [type]
    wine reg add "$1" /v "$2" /t "${5:-REG_SZ}" /d "$3" /f "/reg:$4" >/dev/null 2>&1 ||
        fail "reg add $1 $2 /reg:$4"
}

# Runs the probe from a folder that is not its own: the leftover usr.tmp is the one beside it.
probe() {
    (cd "$c/elsewhere" && wine "$c/Velkin/host_probe.exe" "$@") || fail "host_probe $*"
}

expect_absent() {
    [ ! -e "$1" ] || fail "expected no $1, but it is there"
}

mkdir -p "$c/Velkin" "$c/elsewhere"
cp "$probe_exe" "$c/Velkin/host_probe.exe"

windows='HKLM\Software\Microsoft\Windows NT\CurrentVersion'

reg_set "$windows" CurrentVersion 6.1 32

echo "== start-up, 6.1: C:\\Users\\<user>\\Documents\\Corvane, beside a usr.tmp left unended"
docs="$c/users/$user/Documents/Corvane"
mkdir -p "$docs"
: >"$docs/Environment.cfg"
printf 'olduser ' >"$c/Velkin/usr.tmp"
probe startup "C:\\Users\\$user\\Documents\\Corvane"
# Start-up only removes the leftover: it writes nothing, here or where it was started from.
[ "$(ls -A "$c/Velkin")" = host_probe.exe ] || fail "expected only host_probe.exe beside it"
[ -z "$(ls -A "$c/elsewhere")" ] || fail "expected nothing written where it was started from"

echo "== start-up, 6.1: from a read-only folder"
# Where Velkin cannot write (Program Files, a read-only share) detection must work all the same.
ro="$c/ReadOnly"
mkdir -p "$ro"
cp "$probe_exe" "$ro/host_probe.exe"
printf 'olduser ' >"$ro/usr.tmp"
if mount --bind "$ro" "$ro" 2>/dev/null; then
    if mount -o remount,bind,ro "$ro" 2>/dev/null; then
        (cd "$c/elsewhere" && wine 'C:\ReadOnly\host_probe.exe' startup \
            "C:\\Users\\$user\\Documents\\Corvane") || fail "host_probe from a read-only folder"
    else
        fail "could not make $ro read-only"
    fi
    umount "$ro"
else
    echo "skipped: this machine cannot mount a folder read-only"
fi

echo "== start-up, 6.1: a user name outside ASCII"
rm -rf "$docs"
probe startup - jose

echo "== start-up, 5.1: C:\\Documents and Settings\\<user>\\My Documents\\Corvane"
xp="$c/Documents and Settings/$user/My Documents/Corvane"
mkdir -p "$xp"
: >"$xp/Environment.cfg"
reg_set "$windows" CurrentVersion 5.1 32
probe startup "C:\\Documents and Settings\\$user\\My Documents\\Corvane"

echo "== start-up, 6.1: the shell's Documents folder when the layout has no file"
rm -rf "$c/Documents and Settings"
reg_set "$windows" CurrentVersion 6.1 32
reg_set 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' Personal \
    'C:\MyDocs' 64 REG_EXPAND_SZ
mkdir -p "$c/MyDocs/Corvane"
: >"$c/MyDocs/Corvane/Environment.cfg"
probe startup 'C:\MyDocs\Corvane'

echo "== launcher: what cannot be started is named plainly"
mkdir -p "$c/Games/Corvane.exe"
printf 'not a program' >"$c/Games/notes.exe"
probe launch-fails 'C:\Games\Corvane.exe' 'It is a folder, not a program.'
probe launch-fails 'C:\Games\notes.exe' 'It is not a program that Windows can start.'

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all host checks passed"
