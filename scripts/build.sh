#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures and builds in build/. Set GLIMRA_WERROR=ON to make warnings fatal.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DGLIMRA_WERROR="${GLIMRA_WERROR:-OFF}" -DGLIMRA_TESTS=ON >/dev/null
cmake --build build --parallel "$(nproc)"
