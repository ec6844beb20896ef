#!/usr/bin/env bash
# The release build of ruvex.exe: built from a clean tree with the -win32 compilers, stripped,
# checked to be a standalone 32-bit GUI program of at most 64 KB whose every import exists on
# Windows XP SP3, and reproducible: the same commit gives the same bytes, whatever the folder
# it is built in. The PE header's time stamp, the one thing that would change from build to
# build, is the commit's time (the linker reads SOURCE_DATE_EPOCH).
#
#   tools/release.sh [--check] [OUT_DIR]      (OUT_DIR default: build/release)
#
# Leaves OUT_DIR/ruvex.exe and OUT_DIR/ruvex.exe.sha256 (verify with `sha256sum -c`).
# --check builds the same source a second time in another folder and fails unless both
# ruvex.exe files are byte for byte the same.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
check=${1:-}
[ "$check" = --check ] && shift
out=${1:-$root/build/release}
max_bytes=$((64 * 1024))

"$root/tools/install-deps.sh"

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null)}
[ -n "$SOURCE_DATE_EPOCH" ] || { echo "release.sh: not a git checkout; set SOURCE_DATE_EPOCH to the source's date" >&2; exit 1; }
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    echo "release.sh: warning: the tree has uncommitted changes, so this is not the build of a commit" >&2
fi
# Flags from the environment would change the bytes; a release takes only the project's own.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS RCFLAGS

# Builds ruvex.exe from scratch in DIR/tree and puts it, with its checksum, in DIR.
build_release() {
    local dir=$1
    rm -rf "$dir/tree"
    mkdir -p "$dir"
    cmake -S "$root" -B "$dir/tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir/tree" -j"$(nproc)" >/dev/null
    cp "$dir/tree/ruvex.exe" "$dir/ruvex.exe"
    (cd "$dir" && sha256sum ruvex.exe > ruvex.exe.sha256)
}

build_release "$out"
exe=$out/ruvex.exe
"$root/tools/check-exe.sh" "$exe" >/dev/null || { "$root/tools/check-exe.sh" "$exe"; exit 1; }
i686-w64-mingw32-nm "$exe" 2>&1 | grep -q 'no symbols' || { echo "release.sh: $exe is not stripped" >&2; exit 1; }
size=$(stat -c %s "$exe")
[ "$size" -le "$max_bytes" ] || { echo "release.sh: $exe is $size bytes, over the limit of $max_bytes" >&2; exit 1; }

if [ "$check" = --check ]; then
    build_release "$out.check"
    cmp "$exe" "$out.check/ruvex.exe" ||
        { echo "release.sh: two builds of the same source differ; the second is in $out.check" >&2; exit 1; }
    rm -rf "$out.check"
    echo "Reproducible: a second build in another folder gave the same bytes."
fi

echo "$exe: $size bytes, stripped, PE time stamp $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')"
cat "$out/ruvex.exe.sha256"
