# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own and a display.
# Never touches ~/.wine; stops only the wineserver of its own prefix.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$REPO_ROOT/build/windows/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# Creates the prefix once; concurrent callers wait on the lock.
wine_ensure_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            timeout 180 wine wineboot -i >/dev/null 2>&1 || true
            # A virtual desktop: without a window manager every new top-level window would
            # otherwise wait about two seconds for one.
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
            timeout 60 wineserver -w || true
        fi
    ) 9>"$WINEPREFIX.lock"
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix could not be created: $WINEPREFIX" >&2; return 1; }
}

# Starts Xvfb unless a display is already there. Xvfb picks the number itself (-displayfd), so
# parallel callers never share or kill each other's server.
wine_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    if [ -n "${DISPLAY:-}" ] && [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ]; then return 0; fi
    local numberfile n=""
    numberfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
    WINE_XVFB_PID=$!
    for _ in $(seq 100); do
        n=$(head -n 1 "$numberfile")
        [ -n "$n" ] && break
        sleep 0.1
    done
    rm -f "$numberfile"
    if [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; return 0; fi
    kill "$WINE_XVFB_PID" 2>/dev/null || true
    echo "no display could be started" >&2
    return 1
}

wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${WINE_XVFB_PID:-}" ]; then kill "$WINE_XVFB_PID" 2>/dev/null || true; fi
}
