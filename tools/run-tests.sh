#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The whole test suite:
#   formatting; the committed glyph tables against a fresh generation; the test suites in a normal
#   build and in an AddressSanitizer + UndefinedBehaviorSanitizer build; the concurrency tests under
#   ThreadSanitizer; the native suites under valgrind; each fuzzer for a bounded time; the native
#   suites of an arm64 cross build under qemu-aarch64.
# JOBS (default 2) sets the build parallelism, FUZZ_SECONDS (default 60) the time per fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

echo "== clang-format"
git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.java' ':!:tools/fontgen/node_modules' |
    xargs -r clang-format --dry-run --Werror

if [ -x tools/fontgen/check.sh ]; then
    echo "== glyph tables are current"
    tools/fontgen/check.sh
fi

echo "== printer-model tables are current"
tools/printerdb/check.sh

build() {  # build DIR [--target T...] [-- CMAKE-ARGS...]
    local dir=$1 targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" "${targets[@]}"
}

echo "== ThreadSanitizer: concurrent calls"
build build/ci-tsan --target threads_test -- \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAR_TSAN=ON
ctest --test-dir build/ci-tsan --output-on-failure -R '[Tt]hread|[Cc]oncurren'

echo "== valgrind: native suites"
build build/ci-release -- -DCMAKE_BUILD_TYPE=RelWithDebInfo
for t in build/ci-release/tests/*_test; do
    [ -f "$t" ] && [ -x "$t" ] || continue
    # The allocation-failure suite replaces operator new itself; valgrind must leave it in place.
    valgrind -q --soname-synonyms=somalloc=nouserintercepts --error-exitcode=1 \
        --leak-check=full --errors-for-leak-kinds=definite \
        "$t" --gtest_brief=1 >/dev/null || { echo "valgrind: $t"; exit 1; }
done

echo "== fuzzers"
tools/run-fuzzers.sh

echo "== ASan + UBSan build: all tests"
build build/ci-asan -- -DCMAKE_BUILD_TYPE=Debug -DZELVAR_SANITIZE=ON
ctest --test-dir build/ci-asan --output-on-failure -j"$jobs"

echo "== arm64: cross build, native suites under qemu-aarch64"
tools/run-arm64-tests.sh

echo "== release build: all tests"
ctest --test-dir build/ci-release --output-on-failure -j"$jobs"
