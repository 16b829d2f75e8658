#!/bin/sh
# The "browser" of our Wine prefixes (HKCU\Software\Wine\WineBrowser, "Browsers"): opening an
# address under test must neither start a real browser nor go to the network. Each address is
# appended as one line to drive_c/urls-opened.txt of the prefix that asked.
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ] || exit 1
for url in "$@"; do
    printf '%s\n' "$url" >>"$WINEPREFIX/drive_c/urls-opened.txt"
done
exit 0
