#!/usr/bin/env bash
# Builds the Windows side of Ruvex in BUILD_DIR: the shipped ruvex.exe by tools/release.sh (in
# BUILD_DIR/release), then the test tree with the x86_64 -posix cross compilers, which builds the
# tests and tools, and nests two -win32 trees for the other programs (cmake/Windows.cmake).
#   build-windows.sh BUILD_DIR [BUILD_TYPE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
"$root/tools/release.sh" "$build/release"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${2:-MinSizeRel}" -DRUVEX_SHIPPED_EXE="$(cd "$build" && pwd)/release/ruvex.exe" \
      ${RUVEX_CMAKE_OPTIONS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
