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

# Wine's 32-bit half needs i386 packages of the very versions installed for amd64. When the
# security archive's i386 list cannot be read (a mirror in the middle of a sync), the Wine stack
# is taken from the release and its updates alone: package lists of our own, those suites pinned
# above what is installed (a few libraries the security archive updated go back to the release's
# version), and the machine's own sources left as they are.
install_wine32_from_release() {
    local own
    own=$(mktemp -d)
    mkdir -p "$own/sources" "$own/preferences" "$own/lists/partial" "$own/cache/archives/partial"
    printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" "Suites: bookworm bookworm-updates" \
        "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$own/sources/release.sources"
    printf '%s\n' "Package: *" "Pin: release n=bookworm" "Pin-Priority: 1001" "" \
        "Package: *" "Pin: release n=bookworm-updates" "Pin-Priority: 1001" >"$own/preferences/release.pref"
    local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$own/sources"
                   -o "Dir::State::Lists=$own/lists" -o "Dir::Etc::PreferencesParts=$own/preferences"
                   -o "Dir::Cache=$own/cache")
    local status=0
    $SUDO apt-get "${options[@]}" update -qq >/dev/null 2>&1 &&
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${options[@]}" install -y -qq --allow-downgrades \
            --no-install-recommends wine32:i386 >/dev/null 2>&1 || status=1
    $SUDO rm -rf "$own"
    return $status
}

rest=()
for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
# Something else failed: once more, with apt's own words.
[ ${#rest[@]} -lt ${#missing[@]} ] || { install "${missing[@]}"; exit; }
[ ${#rest[@]} -eq 0 ] || install "${rest[@]}"
# A kernel without 32-bit code has no use for it: the tests then run on the 64-bit build.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "deps.sh: this kernel runs no 32-bit programs; wine32:i386 left out"
elif install_wine32_from_release; then
    echo "deps.sh: wine32:i386 installed from bookworm and bookworm-updates alone (the security archive's i386 list could not be read)"
else
    echo "deps.sh: wine32:i386 cannot be installed now; 32-bit programs will not run here"
fi
