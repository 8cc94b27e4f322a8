# Wine prefixes for the tests. Source this file; it defines:
#   velkin_wine_env             exports the quiet Wine settings and the locale
#   velkin_template_prefix      prints the path of a booted template prefix, booting it once
#                               (kept in the user's own cache folder, or VELKIN_WINE_TEMPLATE)
#   velkin_new_prefix DIR       makes DIR a fresh prefix from the template (hard links to its
#                               program files, copies of what Wine writes)
#   velkin_stop_prefix DIR      stops DIR's wineserver
#   velkin_ensure_display       starts a private Xvfb when DISPLAY is unset (sets VELKIN_XVFB_PID)
#   velkin_stop_display         stops the Xvfb started above
#   velkin_throwaway_prefix TAG makes a fresh prefix in a new temporary folder ($VELKIN_WORK)
#                               with a display, all removed again when the shell exits, before
#                               the EXIT trap that was set already runs; first sweeps what
#                               runs of this user that were killed left behind

velkin_wine_env() {
    velkin_wine_shim
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    # Wine's ANSI code page follows the locale, and names outside ASCII need a UTF-8 one: the
    # caller's own locale must never decide what the tests see.
    export LC_ALL=C.UTF-8
}

# A folder of this user's own, never one in /tmp that anyone could have made first.
velkin_cache() {
    local dir="${XDG_CACHE_HOME:-$HOME/.cache}/velkin"
    mkdir -p "$dir" && chmod 700 "$dir" && [ -O "$dir" ] || {
        echo "velkin: $dir is not this user's own folder" >&2
        return 1
    }
    echo "$dir"
}

# Debian's "wine" starts the 32-bit loader first. On a kernel that cannot run 32-bit programs
# that fails at once, so "wine" then means the 64-bit loader, which runs the 64-bit builds.
velkin_can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

velkin_wine_shim() {
    velkin_can_run_32bit && return 0
    local shim
    shim="$(velkin_cache)/wine64" || return 1
    if [ ! -x "$shim/wine" ]; then
        mkdir -p "$shim"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/wine.tmp"
        chmod +x "$shim/wine.tmp"
        mv "$shim/wine.tmp" "$shim/wine"
    fi
    case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
}

velkin_wine_user() {
    # Wine names the Windows user after the Unix one.
    id -un
}

velkin_template_prefix() {
    local root="${VELKIN_WINE_TEMPLATE:-}"
    if [ -z "$root" ]; then
        root="$(velkin_cache)/wine-template" || return 1
    fi
    local stamp="$root/.velkin-stamp"
    local want
    want="$(wine --version) v6 $(ls /usr/share/wine/fonts 2>/dev/null | tr "\n" " ")"
    (
        flock 9
        if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
            exit 0
        fi
        rm -rf "$root.boot"
        mkdir -p "$root.boot"
        velkin_wine_env
        export WINEPREFIX="$root.boot"
        # A prefix that did not boot must never be stamped as good.
        if ! wine wineboot -i >"$root.boot.log" 2>&1 || ! wineserver -w ||
            [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
            echo "wineboot failed; its output:" >&2
            cat "$root.boot.log" >&2
            exit 1
        fi
        # A crash must fail the test, not wait for someone to close a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        # Without a window manager every closed window costs seconds; a virtual desktop avoids it.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Velkin /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Velkin /d 1280x1024 /f >/dev/null 2>&1
        wineserver -w
        # Documents is a link to $HOME in a new prefix; the tests need a folder of their own.
        local docs="$WINEPREFIX/drive_c/users/$(velkin_wine_user)/Documents"
        rm -rf "$docs"
        mkdir -p "$docs"
        # Debian's Wine does not find its own fonts (Tahoma among them) in its data folder;
        # a Windows machine has them in its Fonts folder, so put them there.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        rm -rf "$root"
        mv "$root.boot" "$root"
        echo "$want" > "$stamp"
    ) 9>"$root.lock" || return 1
    echo "$root"
}

velkin_new_prefix() {
    local dir="$1" template
    template="$(velkin_template_prefix)" || return 1
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    # Wine never writes to its program files, so they are shared; what it does write (the
    # registry, settings files, the users' folders) is copied. 0.1 s instead of 0.8 s and 700 MB.
    cp -al "$template" "$dir" 2>/dev/null || { rm -rf "$dir" && cp -a "$template" "$dir"; } || return 1
    rm -f "$dir/.velkin-stamp"
    (cd "$dir" && find . -type f \( -name '*.reg' -o -name '*.ini' -o -path './drive_c/users/*' \
        -o -path './drive_c/ProgramData/*' \) -exec sh -c \
        'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' _ {} +)
}

velkin_stop_prefix() {
    WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$1" wineserver -w >/dev/null 2>&1 || true
}

velkin_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    # -displayfd lets Xvfb pick a free display itself, so parallel runs never share one.
    local numfile i
    # Its PID is noted in a work folder of its own, for the sweep should this shell be killed.
    VELKIN_XVFB_DIR="$(mktemp -d "${TMPDIR:-/tmp}/velkin-display-pid$$.XXXXXX")"
    numfile="$VELKIN_XVFB_DIR/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    VELKIN_XVFB_PID=$!
    echo "$VELKIN_XVFB_PID" >"$VELKIN_XVFB_DIR/xvfb.pid"
    for i in $(seq 1 200); do
        [ -s "$numfile" ] && break
        kill -0 "$VELKIN_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    if [ -s "$numfile" ] && kill -0 "$VELKIN_XVFB_PID" 2>/dev/null; then
        export DISPLAY=":$(tr -dc '0-9' <"$numfile")"
        # Not exported: a child script must never stop a display it did not start.
        return 0
    fi
    velkin_stop_display
    echo "could not start Xvfb" >&2
    return 1
}

velkin_stop_display() {
    if [ -n "${VELKIN_XVFB_PID:-}" ]; then
        kill "$VELKIN_XVFB_PID" 2>/dev/null || true
        wait "$VELKIN_XVFB_PID" 2>/dev/null || true
        rm -rf "$VELKIN_XVFB_DIR"
        unset VELKIN_XVFB_PID VELKIN_XVFB_DIR
    fi
}

# Work folders carry the PID of the shell that made them: one whose shell is gone was left by a
# run that was killed (ctest's timeout sends SIGKILL, which no EXIT trap sees).
velkin_sweep() {
    local dir pid
    for dir in "${TMPDIR:-/tmp}"/velkin-*-pid[0-9]*.*; do
        [ -d "$dir" ] && [ -O "$dir" ] || continue
        pid="${dir##*-pid}"
        pid="${pid%%.*}"
        kill -0 "$pid" 2>/dev/null && continue
        velkin_throwaway_cleanup "$dir" keep-display
    done
}

velkin_throwaway_prefix() {
    velkin_sweep
    VELKIN_WORK="$(mktemp -d "${TMPDIR:-/tmp}/velkin-$1-pid$$.XXXXXX")"
    export WINEPREFIX="$VELKIN_WORK/prefix"
    # The caller's own EXIT trap still runs, after this one: "trap -- 'command' EXIT" is
    # unwrapped to the command and chained.
    local before
    before="$(trap -p EXIT)"
    before="${before#trap -- }"
    before="${before% EXIT}"
    eval "before=${before:-''}"
    trap "velkin_throwaway_cleanup $(printf '%q' "$VELKIN_WORK")${before:+; $before}" EXIT
    velkin_new_prefix "$WINEPREFIX" || { echo "could not make a Wine prefix" >&2; return 1; }
    velkin_ensure_display
}

velkin_throwaway_cleanup() {
    [ -d "$1/prefix" ] && velkin_stop_prefix "$1/prefix"
    # Only the display of a killed run: this shell's own stays up.
    local xvfb
    xvfb="$(cat "$1/xvfb.pid" 2>/dev/null || true)"
    if [ "${2:-}" = keep-display ] && [ -n "$xvfb" ] &&
        [ "$(cat "/proc/$xvfb/comm" 2>/dev/null)" = Xvfb ] && [ -O "/proc/$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
    fi
    # A folder that a test mounted read-only inside the work folder would stop its removal.
    awk -v d="$1/" 'index($2, d) == 1 {print $2}' /proc/mounts | xargs -r -n1 umount 2>/dev/null ||
        true
    [ "${2:-}" = keep-display ] || velkin_stop_display
    # A folder that a test made read-only would stop it too.
    find "$1" -type d ! -perm -u+w -exec chmod u+w {} + 2>/dev/null || true
    rm -rf "$1"
}
