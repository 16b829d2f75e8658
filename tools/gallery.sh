#!/usr/bin/env bash
# Pictures of every window setup can show, in each of its five languages: builds setup and the
# robot, then runs the gallery's scenarios under an Xvfb of their own (tools/gallery/gallery.py)
# and writes OUT/LANG/NN-name.png and OUT/index.html, a table of the windows by language.
#   tools/gallery.sh                 all five languages (about four minutes)
#   tools/gallery.sh --quick         English only
#   tools/gallery.sh --languages ru,pt
# GALLERY_OUT=FOLDER writes elsewhere than build/gallery; GALLERY_BUILD=FOLDER builds in another
# folder than build/windows (its Wine prefixes go to FOLDER/gallery-work).
set -euo pipefail
cd "$(dirname "$0")/.."
REPO=$PWD
BUILD=$(realpath -m "${GALLERY_BUILD:-$REPO/build/windows}")
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
cmake --preset windows -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target Install robot samples control_fixtures
# Every Wine run inside is bounded; this bounds the whole.
timeout --kill-after=30 1800 python3 tools/gallery/gallery.py --build "$BUILD" --out "$OUT" --languages "$languages"
