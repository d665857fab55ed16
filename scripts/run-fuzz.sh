#!/usr/bin/env bash
# Builds the libFuzzer harnesses (preset "fuzz": clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS seconds (default 60), one
# after the other. Fails on the first harness that finds a crash, a leak or a broken
# check; the input that did it is kept in build-fuzz/artifacts/<harness>/.
#
#   FUZZ_SECONDS=3600 scripts/run-fuzz.sh             every harness for an hour
#   FUZZ_SECONDS=600 scripts/run-fuzz.sh template     one harness (fuzz_template)
#
# Each harness starts from its seeds in fuzz/corpus/<name>/ and keeps what it learns in
# build-fuzz/corpus/<name>/, so later runs go on from there.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

if [ $# -gt 0 ]; then
    names=("$@")
else
    names=()
    for harness in build-fuzz/fuzz/fuzz_*; do
        [ -x "$harness" ] && [ -f "$harness" ] && names+=("${harness##*/fuzz_}")
    done
fi

for name in "${names[@]}"; do
    harness="build-fuzz/fuzz/fuzz_$name"
    corpus="build-fuzz/corpus/$name"
    artifacts="build-fuzz/artifacts/$name"
    mkdir -p "$corpus" "$artifacts"
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/"
             -rss_limit_mb=4096 -timeout=30)
    [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
    echo "== fuzz_$name for ${seconds} s"
    # The harness's chatter goes to a log; its final figures are printed.
    log="build-fuzz/fuzz_$name.log"
    if ! "$harness" "${options[@]}" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$name failed; the input is in $artifacts/" >&2
        exit 1
    fi
    grep -E '^(Done|stat::)' "$log" || true
    grep -E 'cov: ' "$log" | tail -n 1
done
