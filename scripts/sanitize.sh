#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and
# runs the whole test suite there, with a small benchmark run; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGLIMRA_SANITIZE=ON -DGLIMRA_BENCH=ON \
    -DGLIMRA_WERROR="${GLIMRA_WERROR:-OFF}" >/dev/null
cmake --build build-asan --parallel "$(nproc)" >/dev/null
cd build-asan
# Qt and the font libraries keep some memory until exit on purpose: leaks are not checked.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 --parallel "$(nproc)"
