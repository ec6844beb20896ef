#!/usr/bin/env bash
# Runs every test of Ruvex on a Debian machine: installs what is missing, builds the native
# tree (portable code under AddressSanitizer and UBSan, plus a bounded fuzzing run) and the
# Windows tree (ruvex.exe and the tests that run it under Wine against a real FTP server),
# then runs both trees' tests in one ctest run. Safe to run again.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUVEX_BUILD:-$root/build}
jobs=$(nproc)

"$root/tools/install-deps.sh"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/native" -j"$jobs"

"$root/tools/build-windows.sh" "$build/windows" MinSizeRel

# One ctest run over both trees, so the run ends with a single summary. A test's own output shows
# when it fails, as with --output-on-failure; of one that passed, only the line naming the
# ruvex.exe it drove.
printf 'subdirs("native")\nsubdirs("windows")\n' > "$build/CTestTestfile.cmake"
cd "$build"
ctest -V -j2 | awk '
    /^[0-9]+: / { n = $1; kept[n] = kept[n] substr($0, length(n) + 2) "\n"; if (/ session: drives /) print; next }
    / Test +#[0-9]+: / { print; if (!/ Passed /) { n = $0; sub(/.*#/, "", n); sub(/:.*/, ":", n); printf "%s", kept[n] } next }
    /^(UpdateCTestConfiguration|Parse Config|Constructing|Done constructing|Updating test list|Added 0|Checking test|test [0-9]+$)/ { next }
    /^The following tests passed:/ { passedList = 1; next }
    passedList && /^\t/ { next }
    { passedList = 0; print }'
