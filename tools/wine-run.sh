#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix of the program's width, bounded in time
# (ctest's emulator).
#   wine-run.sh 32|64 PROGRAM [ARGUMENTS...]
set -u
source "$(dirname "$0")/wine-env.sh"
wine_use_width "${1:?usage: wine-run.sh 32|64 PROGRAM [ARGUMENTS...]}" || exit 1
shift
wine_ensure_prefix || exit 1
started_display=0
if [ -z "${DISPLAY:-}" ]; then wine_ensure_display || exit 1; started_display=1; fi
# The Windows program's language; set here so that bash itself never sees a missing locale.
if [ -n "${WINE_LC_ALL:-}" ]; then
    LC_ALL=$WINE_LC_ALL timeout --kill-after=5 "${WINE_RUN_TIMEOUT:-240}" "$WINELOADER" "$@"
else
    timeout --kill-after=5 "${WINE_RUN_TIMEOUT:-240}" "$WINELOADER" "$@"
fi
rc=$?
[ $started_display -eq 1 ] && kill "$WINE_XVFB_PID" 2>/dev/null
exit $rc
