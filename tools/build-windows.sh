#!/usr/bin/env bash
# Builds the Windows side of Ruvex in BUILD_DIR: the shipped ruvex.exe by tools/release.sh (in
# BUILD_DIR/release), then the test tree with the x86_64 -posix cross compilers, which builds the
# tests and tools, and nests two -win32 trees for the other programs (cmake/Windows.cmake); and,
# once, the tree's Wine prefix (BUILD_DIR/wineprefix), which tests/harness/session.sh uses.
#   build-windows.sh BUILD_DIR [BUILD_TYPE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
build=$(cd "$1" && pwd)

# The prefix is 64-bit like the tests and tools; Wine runs a 32-bit ruvex.exe on its 32-bit side.
# A virtual desktop, so that Wine draws frames, title bars and close boxes itself, and Wine's own
# fonts (Marlett draws the caption buttons), which this Wine does not find. Where 32-bit code is
# emulated, making it takes minutes, so it is made while the programs build.
make_prefix() {
    export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    local wine=/usr/lib/wine/wine64
    $wine wineboot --init >/dev/null 2>&1
    $wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    $wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}
prefix=
[ -d "$build/wineprefix/drive_c/windows/Fonts" ] || { make_prefix & prefix=$!; }

"$root/tools/release.sh" "$build/release"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${2:-MinSizeRel}" -DRUVEX_SHIPPED_EXE="$build/release/ruvex.exe" \
      ${RUVEX_CMAKE_OPTIONS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
[ -z "$prefix" ] || wait "$prefix" || { echo "build-windows.sh: making the Wine prefix failed" >&2; exit 1; }
# The shipped program's session, slow where 32-bit code is emulated, runs beside the other Wine
# tests in a copy of its own: a prefix serves one session at a time.
[ -d "$build/wineprefix-shipped" ] || cp -a "$build/wineprefix" "$build/wineprefix-shipped"
