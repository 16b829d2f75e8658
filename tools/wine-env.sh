# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own and a display.
# Never touches ~/.wine; stops only the wineserver of its own prefix; writes nothing outside it.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
# Always: no Mono/Gecko install prompts, and no menu builder (it writes .desktop files and menus
# into the Linux home folder). A caller's own overrides come after these.
for wine_override in "mscoree,mshtml=" "winemenubuilder.exe=d"; do
    case ";${WINEDLLOVERRIDES:-};" in
        *";$wine_override;"*) ;;
        *) WINEDLLOVERRIDES="$wine_override${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
    esac
done
export WINEDLLOVERRIDES
WINE_URL_RECORDER=$REPO_ROOT/tools/record-url.sh

# Which Wine runs the Windows programs. The release is a 32-bit program, but some machines' kernels
# run no 32-bit code at all: there the 64-bit build of the same sources is run under 64-bit Wine.
# Debian's wine wrapper always picks the 32-bit loader when it is installed, so the loaders are
# called by their own paths; the 64-bit server serves prefixes of either width. A new prefix is of
# the width asked for: left to itself, the 32-bit loader would make a 64-bit one wherever the 64-bit
# loader is installed, with "Program Files (x86)" and a redirected registry.
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
WINE_SERVER_PROGRAM=/usr/lib/wine/wineserver64

# True when this machine can run 32-bit Windows programs (its kernel runs Wine's 32-bit loader).
wine_can_run_32() {
    "$WINE32_LOADER" --version >/dev/null 2>&1
}

# The width that the demo, the gallery and the benchmark run: WINE_WIDTH=32 or 64 when the caller
# chose one, else 32 where it can run, else 64.
wine_default_width() {
    case "${WINE_WIDTH:-}" in
        32|64) echo "$WINE_WIDTH" ;;
        "") if wine_can_run_32; then echo 32; else echo 64; fi ;;
        *) echo "WINE_WIDTH must be 32 or 64, not '$WINE_WIDTH'" >&2; return 1 ;;
    esac
}

# Makes every Wine command of the caller run programs of WIDTH bits: exports WINE_WIDTH,
# WINELOADER, WINEARCH, WINESERVER (Wine's own names for them) and WINEPREFIX (unless the caller chose one:
# the build folder's prefix), and sets WINE_PRESET and WINE_BUILD, the preset and build folder of
# that width.
wine_use_width() {
    case "$1" in
        32) WINELOADER=$WINE32_LOADER; WINEARCH=win32; WINE_PRESET=windows ;;
        64) WINELOADER=$WINE64_LOADER; WINEARCH=win64; WINE_PRESET=windows64 ;;
        *) echo "wine_use_width: 32 or 64, not '$1'" >&2; return 1 ;;
    esac
    export WINE_WIDTH=$1 WINELOADER WINEARCH WINESERVER=$WINE_SERVER_PROGRAM
    WINE_BUILD=$REPO_ROOT/build/$WINE_PRESET
    export WINEPREFIX=${WINEPREFIX:-$WINE_BUILD/wine-prefix}
}

# Creates the prefix once, of the chosen width (one of the other width is made anew); concurrent
# callers wait on the lock.
wine_ensure_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ -f "$WINEPREFIX/system.reg" ] && ! grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
            timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
            rm -rf "$WINEPREFIX"
        fi
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            timeout 180 "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
            wine_keep_inside_prefix
            # A virtual desktop: without a window manager every new top-level window would
            # otherwise wait about two seconds for one.
            timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
            timeout 60 "$WINESERVER" -w || true
        fi
    ) 9>"$WINEPREFIX.lock"
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix could not be created: $WINEPREFIX" >&2; return 1; }
}

# A new prefix links the user's Desktop, Documents, Downloads, Music, Pictures, Videos and
# AppData\Roaming\Microsoft\Windows\Templates to $HOME, and opens web addresses in a Linux
# browser: make both stay inside the prefix. Every link out of it becomes a real folder; opened
# addresses are recorded in drive_c/urls-opened.txt (tools/record-url.sh).
wine_keep_inside_prefix() {
    local link prefix
    prefix=$(realpath "$WINEPREFIX")
    while IFS= read -r -d '' link; do
        case "$(realpath -m "$link")/" in
            "$prefix"/*) ;;
            *) rm "$link" && mkdir "$link" ;;
        esac
    done < <(find "$WINEPREFIX/drive_c/users" -type l -print0)
    timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$WINE_URL_RECORDER" /f >/dev/null 2>&1
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
    timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "${WINE_XVFB_PID:-}" ]; then kill "$WINE_XVFB_PID" 2>/dev/null || true; fi
}
