#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix, bounded in time (ctest's emulator).
set -u
source "$(dirname "$0")/wine-env.sh"
wine_ensure_prefix || exit 1
started_display=0
if [ -z "${DISPLAY:-}" ]; then wine_ensure_display || exit 1; started_display=1; fi
timeout --kill-after=5 "${WINE_RUN_TIMEOUT:-240}" wine "$@"
rc=$?
[ $started_display -eq 1 ] && kill "$WINE_XVFB_PID" 2>/dev/null
exit $rc
