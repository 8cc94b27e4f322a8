#!/usr/bin/env bash
# The host against a real (Wine) machine: registry views, start-up detection in both folder
# layouts and in Documents, started from another folder, and the launcher with a stand-in game.
# Usage: run-wine-host-tests.sh host_probe.exe stub_game.exe
set -u
probe_exe="$1"
stub_exe="$2"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine/prefix.sh"
velkin_wine_env

velkin_throwaway_prefix host || exit 1

user="$(velkin_wine_user)"
c="$WINEPREFIX/drive_c"
failures=0

fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

reg_set() {  # key value data view
    wine reg add "$1" /v "$2" /d "$3" /f "/reg:$4" >/dev/null 2>&1 || fail "reg add $1 $2 /reg:$4"
}

# Runs the probe from a folder that is not its own, so usr.tmp must not follow the working folder.
probe() {
    (cd "$c/elsewhere" && wine "$c/Velkin/host_probe.exe" "$@") || fail "host_probe $*"
}

# Lets every process of the prefix end (the hidden commands, the stand-in game).
settle() {
    wineserver -w
}

expect_absent() {
    [ ! -e "$1" ] || fail "expected no $1, but it is there"
}

expect_file() {  # path expected-content
    if [ ! -f "$1" ]; then
        fail "expected $1, but it is missing"
    elif [ "$(cat "$1")" != "$2" ]; then
        fail "$1: expected \"$2\", got \"$(cat "$1")\""
    else
        echo "ok   $1"
    fi
}

mkdir -p "$c/Velkin" "$c/elsewhere"
cp "$probe_exe" "$c/Velkin/host_probe.exe"

uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Corvane_is1'
windows='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
game='C:\Program Files (x86)\Corvane Game\Corvane.exe'

echo "== registry: the 32-bit view in every build"
reg_set "$uninstall" DisplayIcon "$game" 32
reg_set "$uninstall" DisplayIcon 'C:\64-bit view\Corvane.exe' 64
reg_set "$windows" CurrentVersion 6.1 32
probe registry "$game" 6.1

echo "== start-up, 6.1: C:\\Users\\<user>\\Documents\\Corvane, stale usr.tmp"
docs="$c/users/$user/Documents/Corvane"
mkdir -p "$docs"
: > "$docs/Environment.cfg"
printf 'olduser \r\n' > "$c/Velkin/usr.tmp"
probe startup "C:\\Users\\$user\\Documents\\Corvane" "$user"
settle
expect_absent "$c/Velkin/usr.tmp"
expect_absent "$c/elsewhere/usr.tmp"

echo "== start-up, 5.1: C:\\Documents and Settings\\<user>\\My Documents\\Corvane"
rm -rf "$docs"
xp="$c/Documents and Settings/$user/My Documents/Corvane"
mkdir -p "$xp"
: > "$xp/Environment.cfg"
reg_set "$windows" CurrentVersion 5.1 32
probe startup "C:\\Documents and Settings\\$user\\My Documents\\Corvane" "$user"
settle
expect_absent "$c/Velkin/usr.tmp"

echo "== start-up, 6.1: the shell's Documents folder when the layout has no file"
rm -rf "$c/Documents and Settings"
reg_set "$windows" CurrentVersion 6.1 32
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v Personal /t REG_EXPAND_SZ /d 'C:\MyDocs' /f >/dev/null 2>&1 || fail "redirect Documents"
mkdir -p "$c/MyDocs/Corvane"
: > "$c/MyDocs/Corvane/Environment.cfg"
probe startup 'C:\MyDocs\Corvane' "$user"
settle

echo "== launcher: the exact program, quoted, in its folder, maximised"
mkdir -p "$c/Program Files (x86)/Corvane Game"
cp "$stub_exe" "$c/Program Files (x86)/Corvane Game/Corvane.exe"
# Started by an unquoted command line, this one would win.
cp "$stub_exe" "$c/Program.exe"
probe launch "$game"
settle
expect_file "$c/Program Files (x86)/Corvane Game/launch-record.txt" \
    "$(printf 'command="%s"\nfolder=%s\nshow=3' "$game" 'C:\Program Files (x86)\Corvane Game')"
expect_absent "$c/launch-record.txt"
probe launch-fails 'C:\No Such Folder\Corvane.exe'

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all host checks passed"
