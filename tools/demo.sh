#!/usr/bin/env bash
# The demo: sets a fresh Debian machine up (run as root), builds the 32-bit Velkin.exe (the
# 64-bit one where the kernel cannot run 32-bit programs) and runs it under Wine against a demo
# game and a demo Environment.cfg, in a throwaway Wine prefix.
#
# With a display (DISPLAY set) Velkin is left to the user; the demo ends when it is closed.
# Without one, a private Xvfb is started, Velkin is driven to its main window with the demo
# settings read (start-up question answered Yes, then the Environment.cfg button), a screenshot
# of the screen is saved outside the checkout (the script says where), and everything started
# here is stopped again. The checkout is left as it was: the build goes to build/, which git
# ignores.
#
# Usage: tools/demo.sh [--no-setup]   (--no-setup skips tools/setup.sh on a prepared machine)
# VELKIN_DEMO_BUILD names another build folder than build/demo-<preset>.
# VELKIN_DEMO_DPI=144 (or 120, ...) runs it at that DPI.
# VELKIN_DEMO_SHOT names the screenshot's file (tools/screenshots.sh makes the README's so).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

if [ "${1:-}" != "--no-setup" ]; then
    bash tools/setup.sh
fi

. tests/wine/prefix.sh
preset=win32
velkin_can_run_32bit || preset=win64
# A build of its own, without the tests: only what the demo runs.
build="${VELKIN_DEMO_BUILD:-$root/build/demo-$preset}"
cmake --preset "$preset" -B "$build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target Velkin velkin_demo demo_corvane
velkin="$build/Velkin.exe"
helper="$build/tools/demo/velkin_demo.exe"
game="$build/tools/demo/Corvane.exe"
for f in "$velkin" "$helper" "$game"; do
    [ -f "$f" ] || { echo "demo: $f was not built" >&2; exit 1; }
done

velkin_wine_env
headless=0
[ -z "${DISPLAY:-}" ] && headless=1

velkin_throwaway_prefix demo
echo "demo: made a Wine prefix in $WINEPREFIX"

# The demo game where its installer would put it, and its uninstall entry in the 32-bit view.
drive="$WINEPREFIX/drive_c"
docs="$drive/users/$(velkin_wine_user)/Documents/Corvane"
mkdir -p "$drive/Games/Corvane" "$drive/Velkin" "$docs"
cp "$game" "$drive/Games/Corvane/Corvane.exe"
cp "$velkin" "$drive/Velkin/Velkin.exe"
cp "$helper" "$drive/Velkin/velkin_demo.exe"
cp tests/e2e/demo/Environment.cfg "$docs/Environment.cfg"
wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Corvane_is1' \
    /v DisplayIcon /d 'C:\Games\Corvane\Corvane.exe' /f /reg:32 >/dev/null
dpi="${VELKIN_DEMO_DPI:-}"
if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wineserver -w
fi

if [ "$headless" = 0 ]; then
    echo "demo: Velkin is starting on $DISPLAY; the demo ends when you close it"
    # On a real display the window manager frames the window; no virtual desktop is needed.
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
    # From its own folder, as a shortcut would start it.
    (cd "$drive/Velkin" && wine Velkin.exe)
    exit 0
fi

echo "demo: no display, using Xvfb on $DISPLAY"
# It returns once the settings are read and the window is painted.
wine 'C:\Velkin\velkin_demo.exe' 'C:\Velkin\Velkin.exe'
shot="${VELKIN_DEMO_SHOT:-${TMPDIR:-/tmp}/velkin-demo${dpi:+-${dpi}dpi}.png}"
# The virtual desktop is one flat colour around the window: trim it away.
import -display "$DISPLAY" -window root -trim +repage "$shot"
echo "demo: screenshot of Velkin after reading the demo settings: $(realpath "$shot")"
