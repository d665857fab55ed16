#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Benchmarks never run in CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
for bench in build/bench/*_bench; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench"
    echo
done
