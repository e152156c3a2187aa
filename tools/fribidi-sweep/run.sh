#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Sweeps bare FriBidi with deeply nested explicit formatting characters under valgrind and prints,
# per nesting depth, how many lines it mishandled (about 2 minutes for the default 3,000 lines).
#   tools/fribidi-sweep/run.sh [MIN-OPENERS MAX-OPENERS LINES SEED]   (default 52 66 3000 7)
set -euo pipefail
cd "$(dirname "$0")"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
g++ -std=c++17 -O1 -o "$out/nesting_sweep" nesting_sweep.cpp $(pkg-config --cflags --libs fribidi)
valgrind -q --log-file=/dev/null "$out/nesting_sweep" "${1:-52}" "${2:-66}" "${3:-3000}" "${4:-7}"
