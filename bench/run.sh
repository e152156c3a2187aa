#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the library and the benchmarks in Release, runs the native benchmarks, the Java harness
# and the load checks of the library file, and prints one table of medians and ratios.
#
#   BUILD_DIR    build directory (default build-bench)
#   JOBS         build parallelism (default 2)
#   REPETITIONS  repetitions of each native benchmark, interleaved at random (default 15)
#   FILTER       regular expression selecting native benchmarks (default: all)
#   SKIP_JVM=1   leave out the Java harness
#   INSTRUCTIONS=0  leave out the instruction counts (callgrind, 1,000 iterations of each native
#                   benchmark up to 1,000 characters): the same comparisons free of the noise of a
#                   shared machine
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build-bench}
jobs=${JOBS:-2}
repetitions=${REPETITIONS:-15}
filter=${FILTER:-.}

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZELVAR_BUILD_BENCH=ON >/dev/null
cmake --build "$dir" -j"$jobs" \
    --target zelvarandroidapi zelvar_bench zelvar_nativef_bench library_size_test >/dev/null

out="$dir/bench/results"
mkdir -p "$out"
library="$dir/libzelvarandroidapi.so"

echo "== load checks of the library file" >&2
"$dir/tests/library_size_test" --gtest_brief=1 >&2
strip -o "$out/libzelvarandroidapi.stripped.so" "$library"
stripped_bytes=$(stat -c %s "$out/libzelvarandroidapi.stripped.so")

echo "== native benchmarks ($repetitions interleaved repetitions)" >&2
"$dir/bench/zelvar_bench" \
    --benchmark_filter="$filter" \
    --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.1 \
    --benchmark_out="$out/native.json" --benchmark_out_format=json >/dev/null

jvm_args=()
if [ "${SKIP_JVM:-0}" != 1 ]; then
    echo "== Java harness, between two native passes over the same calls" >&2
    "$dir/bench/zelvar_bench" --write-lines "$out/lines.txt"
    # The JVM's calls are compared with native calls timed just before and just after them, so
    # that a busy spell of the machine does not fall on one side only.
    native_pass() {
        "$dir/bench/zelvar_bench" --benchmark_filter='^reorder/[a-z]+(48|1000)/zelvar$' \
            --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
            --benchmark_min_time=0.1 \
            --benchmark_out="$1" --benchmark_out_format=json >/dev/null
    }
    native_pass "$out/native-before-jvm.json"
    java -Xshare:auto \
        -Dzelvar.printer.api.library="$(realpath "$library")" \
        -cp "$dir/java/zelvar-nativef.jar:$dir/bench/zelvar-nativef-bench.jar" \
        zelvar.bench.NativefBench "$out/lines.txt" "$out/jvm.tsv" >/dev/null
    native_pass "$out/native-after-jvm.json"
    jvm_args=(--jvm "$out/jvm.tsv" --native-around-jvm "$out/native-before-jvm.json"
        "$out/native-after-jvm.json")
fi

instruction_args=()
if [ "${INSTRUCTIONS:-1}" != 0 ] && command -v valgrind >/dev/null; then
    echo "== instruction counts (callgrind)" >&2
    rm -rf "$out/callgrind"
    mkdir -p "$out/callgrind"
    valgrind -q --tool=callgrind --callgrind-out-file="$out/callgrind/bench.out" \
        "$dir/bench/zelvar_bench" --fixed-iterations=1000 \
        --benchmark_filter="^(lookup|compose|reorder/[a-z]+(48|1000)/)" >/dev/null
    instruction_args=(--instructions "$out/callgrind")
fi

python3 bench/report.py --native "$out/native.json" "${jvm_args[@]}" "${instruction_args[@]}" \
    --stripped-bytes "$stripped_bytes"
