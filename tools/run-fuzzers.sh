#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer and runs
# each for a bounded time from its committed seed corpus. Any finding fails the run.
#   FUZZ_SECONDS=600 tools/run-fuzzers.sh    # longer runs
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZELVAR_SANITIZE=ON -DZELVAR_FUZZ=ON -DZELVAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j"${JOBS:-2}" --target compose_fuzz glyph_ops_fuzz reorder_fuzz escpos_reader_fuzz
for target in compose_fuzz glyph_ops_fuzz reorder_fuzz escpos_reader_fuzz; do
    echo "== $target: ${seconds}s"
    work=$dir/corpus-$target
    mkdir -p "$work"
    # New inputs go to the build tree; the committed seeds are only read.
    status=0
    "$dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -artifact_prefix="$dir/$target-" "$work" "fuzz/corpus/$target" >"$dir/$target.log" 2>&1 ||
        status=$?
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$dir/$target.log" || true
    if [ "$status" -ne 0 ]; then
        grep -E -A20 '(==[0-9]+==ERROR|property failed|runtime error)' "$dir/$target.log" | head -40
        echo "$target found a failure; input saved as $dir/$target-*"
        exit 1
    fi
done
