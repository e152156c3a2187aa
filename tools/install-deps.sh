#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs everything the build, the glyph generator and the tests need on Debian 12 (as root).
set -euo pipefail
cd "$(dirname "$0")/.."

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    build-essential cmake pkg-config clang clang-format valgrind libclang-rt-14-dev \
    libfribidi-dev libgtest-dev googletest libbenchmark-dev libfreetype-dev zlib1g-dev libicu-dev \
    icu-devtools \
    openjdk-17-jdk-headless junit5 \
    unicode-data \
    python3 python3-freetype python3-pil python3-fonttools \
    fonts-noto-core fonts-noto-cjk fonts-dejavu-core fonts-unifont \
    libzint-dev zbar-tools \
    >/dev/null

# The glyph generator's pinned npm font packages.
if [ -f tools/fontgen/package-lock.json ]; then
    if ! command -v npm >/dev/null 2>&1; then
        apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
    fi
    npm ci --prefix tools/fontgen --no-audit --no-fund --loglevel=error
fi

# The printer database the printer-model tables are generated from.
npm ci --prefix tools/printerdb --no-audit --no-fund --loglevel=error

# The arm64 stage of the test suite: the cross toolchain, qemu and the arm64 libraries.
bash tools/install-arm64-deps.sh
