#!/usr/bin/env bash
# Builds ruvex.exe (and, with BUILD_TESTING, the tests that run under Wine) with the i686
# mingw-w64 cross compilers: the tree with the -posix ones, ruvex.exe in a nested tree with
# the -win32 ones (cmake/Windows.cmake).    build-windows.sh BUILD_DIR [BUILD_TYPE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${2:-MinSizeRel}" ${RUVEX_CMAKE_OPTIONS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
