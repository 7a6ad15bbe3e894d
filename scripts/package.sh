#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the editor in Release and makes a Debian package of it in build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dpkg-dev
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DGLIMRA_TESTS=OFF >/dev/null
cmake --build build-package --target glimra-editor --parallel "$(nproc)"
cd build-package
cpack -G DEB
