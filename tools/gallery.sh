#!/usr/bin/env bash
# Pictures of every window setup can show, in each of its five languages: builds setup and the
# robot, then runs the gallery's scenarios under an Xvfb of their own (tools/gallery/gallery.py)
# and writes OUT/LANG/NN-name.png and OUT/index.html, a table of the windows by language.
#   tools/gallery.sh                 all five languages (about four minutes)
#   tools/gallery.sh --quick         English only
#   tools/gallery.sh --languages ru,pt
# The 32-bit Install.exe where this machine can run 32-bit programs, else the 64-bit build of the
# same sources under 64-bit Wine; WINE_WIDTH=32 or 64 chooses by hand.
# GALLERY_OUT=FOLDER writes elsewhere than build/gallery; GALLERY_BUILD=FOLDER builds in another
# folder than build/windows or build/windows64 (its Wine prefixes go to FOLDER/gallery-work).
set -euo pipefail
cd "$(dirname "$0")/.."
REPO=$PWD
OUT=$(realpath -m "${GALLERY_OUT:-$REPO/build/gallery}")

languages=en,fr,it,ru,pt
while [ $# -gt 0 ]; do
    case "$1" in
        --quick) languages=en ;;
        --languages) languages=$2; shift ;;
        *) echo "usage: $0 [--quick | --languages en,fr,...]" >&2; exit 2 ;;
    esac
    shift
done

tools/deps.sh
source tools/wine-env.sh
width=$(wine_default_width)
wine_use_width "$width"
echo "gallery: the $width-bit Install.exe under $WINELOADER"
BUILD=$(realpath -m "${GALLERY_BUILD:-$WINE_BUILD}")
cmake --preset "$WINE_PRESET" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target Install robot samples control_fixtures
# Every Wine run inside is bounded; this bounds the whole.
timeout --kill-after=30 1800 python3 tools/gallery/gallery.py --build "$BUILD" --out "$OUT" --languages "$languages"
