#!/usr/bin/env bash
# Where the bytes of the release Install.exe go: its sections, resources by type and language, and
# the largest contributors by component, object and symbol (from the linker map and the unstripped
# copy Install.full.exe). Builds the program first.
#   tools/size-report.sh [BUILD_FOLDER] [--top N]      (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi
tools/deps.sh >/dev/null
[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j2 --target Install InstallSymbols >/dev/null
budget=$(sed -n 's/^set(INSTALL_SIZE_BUDGET \([0-9]*\))$/\1/p' CMakeLists.txt)
exec python3 tools/size_report.py "$build" --budget "${budget:-0}" "$@"
