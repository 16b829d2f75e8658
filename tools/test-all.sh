#!/usr/bin/env bash
# Every test: host unit tests (sanitizers), bounded fuzzing, the 32-bit release build with its
# static checks (imports, subsystem, resources, size), the Windows tests and end-to-end scenarios
# under Wine, and one small round of the benchmark. The Windows tests run on the 32-bit build where
# this machine can run 32-bit programs (in a 32-bit prefix, with the scenarios of 64-bit Windows in
# a 64-bit one), and on the 64-bit build of the same sources in every case. WINE_WIDTH=32 or 64
# runs them on that width only. The last lines say what ran and how it ended.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh || exit 1
source tools/wine-env.sh

widths=("$(wine_default_width)") || exit 1
left_out="chosen by WINE_WIDTH"
if [ -z "${WINE_WIDTH:-}" ]; then
    left_out="32-bit programs do not run here"
    # Where 32-bit programs run, the 64-bit build is tested too, so that neither path rots.
    if [ "${widths[0]}" = 32 ]; then
        widths=(32 64)
    else
        echo "This machine cannot run 32-bit programs: the 64-bit build of the same sources is tested under 64-bit Wine instead."
    fi
fi

status=0
summary=()
# Records how one part ended, for the summary.
ended() {
    local code=$1 what=$2
    if [ "$code" -eq 0 ]; then summary+=("passed: $what"); else summary+=("FAILED: $what"); status=1; fi
}
echo "== host unit tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset host >/dev/null && cmake --build --preset host || exit 1
ctest --preset host; ended $? "host unit tests"

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

wait $fuzzing; ended $? "fuzzing"
cat build/fuzz.log

echo "== static checks of the 32-bit release (imports, subsystem, resources, size)"
ctest --preset windows -L static; ended $? "static checks of the 32-bit release"

sweeps='^scenario\.(matrix-|language-|(shortcuts|upgrade)-(en|fr|it|ru|pt)$)'
declare -A ran=(
    [32]="the 32-bit release: Windows tests and scenarios in a 32-bit prefix (Windows 95 to XP), scenarios wow64-* in a 64-bit prefix (Windows 7 to 11)"
    [64]="the 64-bit build: Windows tests and scenarios in a 64-bit prefix")
[ "${widths[0]}" = 32 ] && ran[64]+=" (the language and version sweeps on the release only)"
for width in "${widths[@]}"; do
    (
        unset WINEPREFIX
        wine_use_width "$width" || exit 1
        echo "== $width-bit build: Windows tests and scenarios under Wine ($WINELOADER)"
        wine_ensure_display || exit 1
        trap wine_stop EXIT
        wine_ensure_prefix || exit 1
        # The 32-bit build's static checks have run above. Beside the release, the 64-bit build
        # leaves out the sweeps over languages and Windows versions: the same resources and code
        # paths, once per language or version.
        exclude=(); [ "$width" = 32 ] && exclude=(-LE static)
        [ "$width" = 64 ] && [ "${widths[0]}" = 32 ] && exclude=(-E "$sweeps")
        ctest --preset "$WINE_PRESET" "${exclude[@]}" -j2
    )
    ended $? "${ran[$width]}"
done
for width in 32 64; do
    [[ " ${widths[*]} " == *" $width "* ]] || summary+=("not run: ${ran[$width]} ($left_out)")
done

echo "== benchmark smoke test: setup beside NSIS installers and a plain copy loop, one small round, traces compared"
(
    unset WINEPREFIX
    wine_use_width "${widths[0]}"
    BENCH_FROM=$WINE_BUILD tools/bench.sh --quick
)
ended $? "benchmark smoke test (${widths[0]}-bit)"
echo "== what ran, in $SECONDS s"
printf '%s\n' "${summary[@]}"
exit $status
