#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the static Qt for 64-bit Windows that the Windows build links, from Debian's own
# qt6-base source package of the installed version, with Debian's host tools of the same
# version, configured by qt-config.cmake. The result is cached in a folder named by a hash
# of that file and the toolchain file, and reused when present; the last line printed is
# that folder. The first build takes about 35 minutes on 2 cores.
# Usage: scripts/windows/build-qt.sh [--fetch]   (GLIMRA_CACHE overrides /var/cache/glimra)
#   --fetch  installs the packages and fetches the source, and builds nothing, so that
#            the build can run beside other work that uses apt.
set -euo pipefail
cd "$(dirname "$0")/../.."
recipe=scripts/windows
scripts/setup.sh g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
    ninja-build dpkg-dev >&2
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
hash=$(cat "$recipe/qt-config.cmake" "$recipe/mingw-w64.cmake" | sha256sum | cut -c1-12)
prefix="${GLIMRA_CACHE:-/var/cache/glimra}/qt-$version-windows-x64-$hash"
if [ -f "$prefix/.complete" ]; then
    echo "The static Qt for Windows is cached." >&2
    echo "$prefix"
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# apt-get source needs a deb-src entry for the suite the binaries came from. It is made
# from the entries that already serve Debian's binaries, so it names whatever mirror the
# machine uses: the same stanzas (deb822) or lines, as deb-src.
debian_entries_as_sources() {
    local kind=$1 file n
    apt-get indextargets --format '$(SOURCESENTRY)' 'Created-By: Packages' 'Origin: Debian' |
        sort -u | while IFS=: read -r file n; do
            case "$file:$kind" in
            *.sources:sources)
                awk -v n="$n" 'BEGIN { RS = ""; FS = "\n" }
                    { for (i = 1; i <= NF; i++) if ($i !~ /^[ \t]*#/) { stanza++; break } }
                    stanza == n && !done { done = 1
                        for (i = 1; i <= NF; i++) {
                            if ($i ~ /^Types:/) $i = "Types: deb-src"
                            print $i
                        }
                        print "" }' "$file" ;;
            *.list:list) sed -n "${n}s/^deb\([[:space:]]\)/deb-src\1/p" "$file" ;;
            esac
        done
}
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source packages to apt's sources" >&2
    for kind in sources list; do
        entries=$(debian_entries_as_sources "$kind")
        [ -z "$entries" ] ||
            printf '%s\n' "$entries" | $sudo tee "/etc/apt/sources.list.d/glimra-sources.$kind" >/dev/null
    done
    $sudo apt-get update -qq
fi

work="${GLIMRA_CACHE:-/var/cache/glimra}/qt-build-$hash"
$sudo mkdir -p "$work" "$(dirname "$prefix")"
[ -w "$work" ] || $sudo chown "$(id -u):$(id -g)" "$work" "$(dirname "$prefix")"
cd "$work"
if [ ! -d source ]; then
    echo "Fetching the qt6-base $version source package" >&2
    rm -rf fetch && mkdir fetch
    (cd fetch && apt-get source -qq --only-source "qt6-base=$version" >&2)
    mv fetch/qt6-base-*/ source
    rm -rf fetch
fi
[ "${1:-}" != --fetch ] || exit 0

echo "Configuring the static Qt for Windows" >&2
cmake -S source -B build -G Ninja -C "$OLDPWD/$recipe/qt-config.cmake" \
    -DCMAKE_TOOLCHAIN_FILE="$OLDPWD/$recipe/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    >build-configure.log 2>&1 || { tail -n 40 build-configure.log >&2; exit 1; }

start=$SECONDS
echo "Building the static Qt for Windows (about 35 minutes on 2 cores the first time)" >&2
# Ninja's own progress, on one line.
show_progress() {
    local line
    while IFS= read -r line; do
        case "$line" in \[*/*\]*) printf '\r%-100.100s' "$line" >&2 ;; esac
    done
    echo >&2
}
if ! cmake --build build --parallel "$(nproc)" 2>&1 | tee build.log | show_progress; then
    grep -m5 -B2 -A10 'error' build.log >&2
    exit 1
fi
cmake --install build >install.log 2>&1
touch "$prefix/.complete"
echo "Built in $(((SECONDS - start) / 60)) minutes." >&2
echo "$prefix"
