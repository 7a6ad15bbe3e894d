#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds in Release (build-bench/) and prints the benchmark table.
# Usage: scripts/bench.sh [entries [converter-entries]]   (100000 and 1000000 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh time
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGLIMRA_TESTS=OFF -DGLIMRA_BENCH=ON \
    >/dev/null
cmake --build build-bench --parallel "$(nproc)" \
    --target bench_editor bench_startup bench_convert glimra-convert >/dev/null
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
QT_QPA_PLATFORM=offscreen build-bench/bench/bench_editor "${1:-100000}"
# The converter at a million entries (its memory also at ten million), unless told.
build-bench/bench/bench_convert build-bench/src/glimra-convert "${2:-1000000}"
