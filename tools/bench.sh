#!/usr/bin/env bash
# Times Install.exe beside an NSIS 3 installer that does setup's whole job on the benchmark's
# machine (tools/bench/nsis_script.py; also in its silent mode), an NSIS installer of the files
# only and a plain CopyFileA loop (tools/bench/Floor.cpp), in a Wine prefix of its own, with the
# robot answering both installers alike. After every run of an installer doing the whole job it
# records the files, shortcuts and registry keys the run left and compares them with Install.exe's
# of the same round: any difference fails the run. Prints medians, spreads and the ratios
# Install.exe / NSIS.
#   tools/bench.sh            the full benchmark: about 64 MB, 11 rounds (BENCH_RUNS)
#   tools/bench.sh --quick    one round on a distribution of about 1 MB: a smoke test that fails
#                             only when a candidate does not complete or the traces differ, never
#                             on slowness
# The 32-bit programs where this machine can run them, else the 64-bit build of the same sources
# under 64-bit Wine, beside 64-bit NSIS installers; WINE_WIDTH=32 or 64 chooses by hand.
# BENCH_BUILD=FOLDER builds and works there instead of build/bench (build/bench64). BENCH_FROM=FOLDER
# takes Install.exe, the robot, the samples and the floor from a Windows build folder of that
# width already built (for example build/windows) instead of building them. See
# tools/bench/README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
REPO=$PWD
quick=()
case "${1:-}" in
    --quick) quick=(--quick) ;;
    "") ;;
    *) echo "usage: tools/bench.sh [--quick]" >&2; exit 1 ;;
esac

tools/deps.sh
source tools/wine-env.sh
width=$(wine_default_width)
wine_use_width "$width"
echo "bench: $width-bit programs under $WINELOADER"
BUILD=$(realpath -m "${BENCH_BUILD:-$REPO/build/bench$([ "$width" = 64 ] && echo 64)}")
if [ -n "${BENCH_FROM:-}" ]; then
    binaries=$(realpath -m "$BENCH_FROM")
else
    binaries=$BUILD
    cmake --preset "$WINE_PRESET" -B "$BUILD" >/dev/null
    cmake --build "$BUILD" -j2 --target Install robot samples bench_floor
fi
for file in Install.exe tests/robot/robot.exe tools/bench/bench-floor.exe sample/Lexaver.exe sample/LibraryTemplate.dll; do
    [ -f "$binaries/$file" ] || { echo "bench: $binaries/$file is missing" >&2; exit 1; }
done

mkdir -p "$BUILD"
export WINEPREFIX=$BUILD/bench-prefix
trap wine_stop EXIT
# The prefix is kept across invocations; the benchmark puts it back to its first state before
# every run.
wine_ensure_prefix
wine_ensure_display
timeout 30 "$WINESERVER" -k 2>/dev/null || true
timeout --kill-after=10 3000 python3 tools/bench/bench.py "${quick[@]}" --runs "${BENCH_RUNS:-11}" --build "$BUILD" \
    --install "$binaries/Install.exe" --robot "$binaries/tests/robot/robot.exe" \
    --floor "$binaries/tools/bench/bench-floor.exe" --programs "$binaries/sample"
