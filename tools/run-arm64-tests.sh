#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The native test suites on arm64, the phones' architecture: cross-compiles with Debian's arm64
# toolchain (cmake/toolchain-aarch64-linux-gnu.cmake) into build/arm64 and runs every suite under
# qemu-aarch64 through ctest, among them the comparison of everything the interface answers with
# what a host build answers. The JVM suite needs a JVM of the target and shows as disabled.
# Needs tools/install-deps.sh and tools/install-arm64-deps.sh. JOBS (default 2) sets the parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
dir=build/arm64
start=$(date +%s)

cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$jobs"

# A host compiler picked up by mistake would still build and pass: make sure of the architecture.
machine=$(readelf -h "$dir/libzelvarandroidapi.so" | sed -n 's/^ *Machine: *//p')
if [ "$machine" != AArch64 ]; then
    echo "$dir/libzelvarandroidapi.so is built for '$machine', not AArch64"
    exit 1
fi

# The host build of the same sources writes what the interface answers over its whole input space;
# the arm64 build must answer byte for byte the same (tests/portable_output_test.cpp).
host=$dir/host
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAR_BUILD_BENCH=OFF >/dev/null
cmake --build "$host" -j"$jobs" --target portable_output_test
ZELVAR_OUTPUT_WRITE=$PWD/$dir/host-output.txt "$host/tests/portable_output_test" --gtest_brief=1

# The library file checks call binutils by name; the host's strip cannot rewrite an arm64 file,
# so the target's binutils come first on PATH, as on an arm64 machine.
tools_dir=$PWD/$dir/target-binutils
mkdir -p "$tools_dir"
for tool in strip nm readelf objdump objcopy; do
    ln -sf "$(command -v aarch64-linux-gnu-$tool)" "$tools_dir/$tool"
done
PATH=$tools_dir:$PATH ZELVAR_OUTPUT_COMPARE=$PWD/$dir/host-output.txt ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 900

echo "arm64 stage: $(($(date +%s) - start)) s"
