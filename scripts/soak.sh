#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs random user sessions against the model of the design for as long as asked: STEPS
# actions at least (1,000,000 unless given), in rounds of about 20,000, each from a fresh seed that
# is printed first (SEED, when given, for the first round). A mismatch stops the run with the
# seed and the shrunk session; `scripts/soak.sh 20000 SEED` runs that round again.
# Usage: scripts/soak.sh [steps] [seed]
set -euo pipefail
cd "$(dirname "$0")/.."
steps="${1:-1000000}"
seed="${2:-}"
scripts/setup.sh --tests >/dev/null
scripts/build.sh >/dev/null
start=$SECONDS
done_steps=0
rounds=0
while [ "$done_steps" -lt "$steps" ]; do
    [ -n "$seed" ] || seed=$(od -An -N8 -tu8 /dev/urandom | tr -d ' ')
    echo "seed $seed"
    output=$(GLIMRA_SOAK_SEED="$seed" GLIMRA_SOAK_STEPS=20000 QTEST_FUNCTION_TIMEOUT=3600000 \
        QT_QPA_PLATFORM=offscreen build/tests/tst_sessions 2>&1) || {
        echo "$output"
        echo "MISMATCH after $done_steps steps in $((SECONDS - start)) s; seed $seed"
        exit 1
    }
    ran=$(sed -n 's/.* \([0-9]*\) steps from seed .*/\1/p' <<<"$output")
    done_steps=$((done_steps + ran))
    rounds=$((rounds + 1))
    seed=""
done
echo "$done_steps steps in $rounds rounds of fresh seeds, no mismatch, in $((SECONDS - start)) s"
