#!/usr/bin/env bash
# Builds ruvex.exe (and, with BUILD_TESTING, the tests that run under Wine) with the i686
# mingw-w64 cross compilers: the tree with the -posix ones, ruvex.exe in a nested tree with
# the -win32 ones (cmake/Windows.cmake).    build-windows.sh BUILD_DIR [BUILD_TYPE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
# The tests run under Wine. A host that runs 64-bit code only cannot run 32-bit Wine; there the
# tests, and a 64-bit ruvex.exe for them to drive, are built for x86_64 (cmake/Windows.cmake).
arch=x86_64
/lib/ld-linux.so.2 --version >/dev/null 2>&1 && arch=i686
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${2:-MinSizeRel}" ${RUVEX_CMAKE_OPTIONS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
