#!/usr/bin/env bash
# The whole test suite: formatting, the committed glyph tables against a fresh generation, and the
# test suites in a normal build and in an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

echo "== clang-format"
git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.cc' '*.hpp' '*.java' |
    xargs -r clang-format --dry-run --Werror

if [ -x tools/fontgen/check.sh ]; then
    echo "== glyph tables are current"
    tools/fontgen/check.sh
fi

for variant in release asan; do
    dir=build/ci-$variant
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
    [ "$variant" = asan ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DZELVAR_SANITIZE=ON)
    echo "== $variant build"
    cmake -S . -B "$dir" "${flags[@]}" >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "== $variant tests"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs"
done
