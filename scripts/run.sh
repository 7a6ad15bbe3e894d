#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the editor alone, and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DGLIMRA_WERROR="${GLIMRA_WERROR:-OFF}" >/dev/null
# A one-line progress instead of the compiler's log; the log is shown only if the build fails.
mkdir -p build
log=build/editor-build.log
cmake --build build --target glimra-editor --parallel "$(nproc)" 2>&1 | tee "$log" |
    while IFS= read -r line; do
        [[ $line =~ ^\[\ *([0-9]+)%\] ]] && printf '\rBuilding the editor: %3s%%' "${BASH_REMATCH[1]}"
    done || {
    echo
    tail -n 40 "$log"
    exit 1
}
printf '\rBuilding the editor: done\n'
exec build/src/glimra-editor "$@"
