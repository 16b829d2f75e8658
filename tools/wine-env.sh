# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own and a display.
# Never touches ~/.wine; stops only the wineserver of its own prefix; writes nothing outside it.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$REPO_ROOT/build/windows/wine-prefix}
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

# Creates the prefix once; concurrent callers wait on the lock.
wine_ensure_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            timeout 180 wine wineboot -i >/dev/null 2>&1 || true
            wine_keep_inside_prefix
            # A virtual desktop: without a window manager every new top-level window would
            # otherwise wait about two seconds for one.
            timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
            timeout 60 wineserver -w || true
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
    timeout 60 wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$WINE_URL_RECORDER" /f >/dev/null 2>&1
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
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    if [ -n "${WINE_XVFB_PID:-}" ]; then kill "$WINE_XVFB_PID" 2>/dev/null || true; fi
}
