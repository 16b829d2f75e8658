#!/usr/bin/env bash
# Every test: host unit tests (sanitizers), bounded fuzzing, the 32-bit release build with its
# static checks (imports, subsystem, resources, size), the Windows tests and end-to-end scenarios
# under Wine, and one small round of the benchmark. The Windows tests run on the 32-bit build where
# this machine can run 32-bit programs, and on the 64-bit build of the same sources in every case.
# WINE_WIDTH=32 or 64 runs them on that width only.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh || exit 1
source tools/wine-env.sh

widths=("$(wine_default_width)") || exit 1
if [ -z "${WINE_WIDTH:-}" ]; then
    # Where 32-bit programs run, the 64-bit build is tested too, so that neither path rots.
    if [ "${widths[0]}" = 32 ]; then
        widths=(32 64)
    else
        echo "This machine cannot run 32-bit programs: the 64-bit build of the same sources is tested under 64-bit Wine instead."
    fi
fi

status=0
echo "== host unit tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset host >/dev/null && cmake --build --preset host || exit 1
ctest --preset host || status=1

echo "== fuzzing the text logic (libFuzzer, about a minute a target), while the Windows programs build"
mkdir -p build
tools/fuzz.sh >build/fuzz.log 2>&1 &
fuzzing=$!

echo "== the 32-bit release build"
release_targets=(--target Install samples)  # all that the static checks need
[ "${widths[0]}" = 32 ] && release_targets=()
cmake --preset windows >/dev/null && cmake --build --preset windows "${release_targets[@]}" || { wait $fuzzing; exit 1; }
if [ "${widths[-1]}" = 64 ]; then
    echo "== the 64-bit test build"
    cmake --preset windows64 >/dev/null && cmake --build --preset windows64 || { wait $fuzzing; exit 1; }
fi

wait $fuzzing || status=1
cat build/fuzz.log

echo "== static checks of the 32-bit release (imports, subsystem, resources, size)"
ctest --preset windows -L static || status=1

for width in "${widths[@]}"; do
    (
        unset WINEPREFIX
        wine_use_width "$width" || exit 1
        echo "== $width-bit build: Windows tests and scenarios under Wine ($WINELOADER)"
        wine_ensure_display || exit 1
        trap wine_stop EXIT
        wine_ensure_prefix || exit 1
        # The 32-bit build's static checks have run above.
        exclude=(); [ "$width" = 32 ] && exclude=(-LE static)
        ctest --preset "$WINE_PRESET" "${exclude[@]}" -j2
    ) || status=1
done

echo "== benchmark smoke test: setup beside NSIS installers and a plain copy loop, one small round, traces compared"
(
    unset WINEPREFIX
    wine_use_width "${widths[0]}"
    BENCH_FROM=$WINE_BUILD tools/bench.sh --quick
) || status=1
echo "== $SECONDS s in all"
exit $status
