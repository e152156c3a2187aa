#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Adds what the arm64 stage (tools/run-arm64-tests.sh) needs on Debian 12, as root, on top of
# tools/install-deps.sh (which brings cmake, pkg-config, the JDK whose javac writes the JNI header,
# junit5 and the fonts the preview tests read). Safe to run again.
#
# The arm64 libraries come from Debian multiarch: the cross compiler links against them, and
# qemu-aarch64 runs the test programs against them (libstdc++6:arm64 is the runtime of the tests;
# the cross toolchain's own copy is only for linking).
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
dpkg --add-architecture arm64  # does nothing when arm64 is already there
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    crossbuild-essential-arm64 qemu-user \
    libstdc++6:arm64 libfribidi-dev:arm64 libgtest-dev:arm64 \
    libfreetype-dev:arm64 zlib1g-dev:arm64 \
    >/dev/null
