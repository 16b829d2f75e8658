#!/usr/bin/env bash
# Every test: host unit tests (sanitizers), bounded fuzzing, Windows tests under Wine, the
# end-to-end scenarios, the size check of Install.exe and one small round of the benchmark.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh || exit 1

status=0
echo "== host unit tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset host >/dev/null && cmake --build --preset host || exit 1
ctest --preset host || status=1

echo "== fuzzing the text logic (libFuzzer, about a minute a target)"
tools/fuzz.sh || status=1

echo "== Windows build, Windows tests and scenarios under Wine"
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1
source tools/wine-env.sh
wine_ensure_display || exit 1
trap wine_stop EXIT
wine_ensure_prefix || exit 1
ctest --preset windows -j2 || status=1

echo "== benchmark smoke test: setup, an NSIS installer and a plain copy loop, one small round"
BENCH_FROM=build/windows tools/bench.sh --quick || status=1
exit $status
