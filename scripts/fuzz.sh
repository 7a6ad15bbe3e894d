#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang, ASan and UBSan in build-fuzz/, replays every
# input kept in fuzz/regressions/, then fuzzes each target for SECONDS (default 60) from
# its seed corpus in fuzz/corpus/. A finding is written to build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds] [read|decode|roundtrip|convert ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(read decode roundtrip convert)
scripts/setup.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DGLIMRA_FUZZ=ON -DGLIMRA_TESTS=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null
mkdir -p build-fuzz/artifacts
for target in "${targets[@]}"; do
    fuzzer="build-fuzz/fuzz/fuzz_$target"
    kept=(fuzz/regressions/"$target"/*)
    if [ -e "${kept[0]}" ]; then
        echo "== $target: replaying ${#kept[@]} kept inputs"
        "$fuzzer" "${kept[@]}" 2>&1 | tail -n 2
    fi
    echo "== $target: fuzzing for $seconds s"
    mkdir -p "build-fuzz/corpus-$target"
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" \
        "build-fuzz/corpus-$target" "fuzz/corpus/$target" 2>&1 | grep -E "^(stat::number_of_executed_runs|==|SUMMARY|Done)" || true
    # libFuzzer's exit code is lost in the pipe; a finding leaves an artifact.
    if compgen -G "build-fuzz/artifacts/$target-*" >/dev/null; then
        echo "FUZZ FINDING in $target: $(ls build-fuzz/artifacts/"$target"-*)" >&2
        exit 1
    fi
done
