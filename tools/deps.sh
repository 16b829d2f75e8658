#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine; quick when all is there.
set -euo pipefail

# Both widths of MinGW and Wine: the release is 32-bit, and where the kernel runs no 32-bit code the
# tests run a 64-bit build under 64-bit Wine.
need=(cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
      binutils-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine xvfb xauth googletest libgtest-dev python3 clang libclang-rt-14-dev locales imagemagick x11-utils nsis)
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
# A mirror in the middle of a sync fails some lists; the others still serve.
$SUDO apt-get update -qq 2>/dev/null || $SUDO apt-get update -qq 2>/dev/null ||
    echo "deps.sh: some package lists could not be read; going on with the others"
install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$@" >/dev/null; }
install "${missing[@]}" 2>/dev/null && exit 0
# Wine's 32-bit half needs i386 packages of the very versions installed for amd64; when the
# i386 lists lag behind, everything else is installed and the tests run on the 64-bit build.
rest=()
for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
# Something else failed: once more, with apt's own words.
[ ${#rest[@]} -lt ${#missing[@]} ] || { install "${missing[@]}"; exit; }
echo "deps.sh: wine32:i386 cannot be installed now; 32-bit programs will not run here"
[ ${#rest[@]} -eq 0 ] || install "${rest[@]}"
