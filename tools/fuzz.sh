#!/usr/bin/env bash
# Builds the libFuzzer targets of the text logic (clang, AddressSanitizer, UBSan) and runs each for
# a bounded time from the seed corpus of the repository. New inputs and any crash stay in
# build/fuzz; the repository is not written. FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=build/fuzz
SECONDS_PER_TARGET=${FUZZ_SECONDS:-60}
FLAGS=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I.)

# target name, sources beside the target's own file
TARGETS=(
    "regscript tests/fuzz/RegScriptFuzz.cpp registration/RegScript.cpp app/HexDigits.cpp app/PathScan.cpp"
    "startupfile tests/fuzz/StartupFileFuzz.cpp registration/SearchPath.cpp app/CaseFolding.cpp app/PathScan.cpp"
    "pathvalue tests/fuzz/PathValueFuzz.cpp registration/SearchPath.cpp app/CaseFolding.cpp app/PathScan.cpp"
)

mkdir -p "$OUT"
status=0
for entry in "${TARGETS[@]}"; do
    read -r name sources <<<"$entry"
    # shellcheck disable=SC2086
    clang++ "${FLAGS[@]}" $sources -o "$OUT/$name"
    work=$OUT/corpus-$name
    mkdir -p "$work"
    cp tests/fuzz/corpus/"$name"/* "$work"/
    echo "fuzzing $name for $SECONDS_PER_TARGET s"
    if ! timeout $((SECONDS_PER_TARGET + 60)) "$OUT/$name" -max_total_time="$SECONDS_PER_TARGET" \
            -max_len=4096 -timeout=10 -artifact_prefix="$OUT/$name-" -print_final_stats=1 "$work" \
            >"$OUT/$name.log" 2>&1; then
        echo "FAIL fuzz $name: see $OUT/$name.log"; tail -30 "$OUT/$name.log"; status=1
    else
        grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$OUT/$name.log" | tail -2
    fi
done
exit $status
