#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the editor and the converter with Debian's own hardening flags and makes a Debian package of it in
# build-package/, then holds it to lintian: any error or warning fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dpkg-dev lintian
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=None -DGLIMRA_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-package --target glimra-editor glimra-convert --parallel "$(nproc)"
(cd build-package && cpack -G DEB)
version=$(sed -n 's/^project(GlimraEditor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build-package/glimra-editor_${version}_$(dpkg --print-architecture).deb
lintian --pedantic --display-info --fail-on error,warning "$deb"
echo "$deb: lintian found no error and no warning"
