#!/usr/bin/env bash
# The demo: sets a fresh Debian machine up (run as root), builds the 32-bit Velkin.exe (the
# 64-bit one where the kernel cannot run 32-bit programs) and runs it under Wine against a demo
# game and a demo Environment.cfg, in a throwaway Wine prefix.
#
# With a display (DISPLAY set) Velkin is left to the user; the demo ends when it is closed.
# Without one, a private Xvfb is started, Velkin is driven to its main window with the demo
# settings read (start-up question answered Yes, then the Environment.cfg button), a screenshot
# of the screen goes to docs/screenshot.png, and everything started here is stopped again.
#
# Usage: tools/demo.sh [--no-setup]   (--no-setup skips tools/setup.sh on a prepared machine)
# VELKIN_DEMO_BUILD names another build folder than build/<preset>.
# VELKIN_DEMO_DPI=144 (or 120, ...) runs it at that DPI; the screenshot is then
# docs/screenshot-<dpi>dpi.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

if [ "${1:-}" != "--no-setup" ]; then
    bash tools/setup.sh
fi

. tests/wine/prefix.sh
preset=win32
velkin_can_run_32bit || preset=win64
build="${VELKIN_DEMO_BUILD:-$root/build/$preset}"
cmake --preset "$preset" -B "$build"
cmake --build "$build" -j "$(nproc)"
velkin="$build/Velkin.exe"
[ -f "$velkin" ] || velkin="$(find "$build" -name Velkin.exe -print -quit)"
helper="$build/tests/e2e/velkin_e2e.exe"
game="$build/tests/e2e/Corvane.exe"
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
cp "$helper" "$drive/Velkin/velkin_e2e.exe"
cp tests/e2e/demo/Environment.cfg "$docs/Environment.cfg"
wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Corvane_is1' \
    /v DisplayIcon /d 'C:\Games\Corvane\Corvane.exe' /f /reg:32 >/dev/null
dpi="${VELKIN_DEMO_DPI:-}"
shot=docs/screenshot.png
if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wineserver -w
    shot="docs/screenshot-${dpi}dpi.png"
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
wine 'C:\Velkin\velkin_e2e.exe' --demo 'C:\Velkin\Velkin.exe'
mkdir -p docs
# Let the window finish repainting after the read before the picture is taken.
sleep 1
# The virtual desktop is one flat colour around the window: trim it away.
import -display "$DISPLAY" -window root -trim +repage "$shot"
echo "demo: screenshot of Velkin after reading the demo settings: $root/$shot"
