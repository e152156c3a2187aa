# SPDX-License-Identifier: Apache-2.0
# Cross build for 64-bit ARM Linux (aarch64) with Debian's cross compiler, the architecture of the
# phones the library ships to. The target's libraries come from Debian multiarch:
#
#   dpkg --add-architecture arm64 && apt-get update
#   apt-get install crossbuild-essential-arm64 qemu-user libstdc++6:arm64 \
#       libfribidi-dev:arm64 libgtest-dev:arm64 libfreetype-dev:arm64 zlib1g-dev:arm64
#
# (tools/install-arm64-deps.sh does exactly this.) The programs built here run on this machine
# under qemu-aarch64, so gtest_discover_tests and ctest work as in a native build:
#
#   cmake -S . -B build/arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake
#
# Host tools (javac for the generated JNI header, pkg-config, readelf) are the build machine's own.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ZELVAR_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ZELVAR_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZELVAR_CROSS_TRIPLE}-g++)
# Debian's multiarch directories: /usr/lib/aarch64-linux-gnu for the libraries, their CMake
# package files (GTest) and their pkg-config files.
set(CMAKE_LIBRARY_ARCHITECTURE ${ZELVAR_CROSS_TRIPLE})

# pkg-config must describe the arm64 libraries, never the host's: only the target's .pc files and
# the architecture-independent ones are searched.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${ZELVAR_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Programs are looked up on the host (javac, pkg-config, readelf); libraries and headers in the
# multiarch directories above, which the cross compiler also searches by itself.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Runs the arm64 test programs here: at build time (gtest_discover_tests lists each suite's cases)
# and under ctest. They run against Debian's arm64 runtime (the multiarch libc6, libstdc++6,
# FriBidi and GoogleTest under /lib/aarch64-linux-gnu and /usr/lib/aarch64-linux-gnu), so the
# emulator's library prefix is the root. The cross toolchain's own copy of the C library under
# /usr/aarch64-linux-gnu is only for linking: -L /usr/aarch64-linux-gnu would load its dynamic
# loader together with the multiarch libc.so.6 of another Debian revision, and a program hangs in
# its first pthread_create.
find_program(ZELVAR_QEMU_AARCH64 qemu-aarch64)
if(NOT ZELVAR_QEMU_AARCH64)
  set(ZELVAR_QEMU_AARCH64 qemu-aarch64)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${ZELVAR_QEMU_AARCH64};-L;/")
