#!/usr/bin/env bash
# bench/run.sh - measures Ruvex against yardsticks in one session on one local FTP server and
# prints a table: (a) RefreshListing of 500 entries against the bare WinINet enumeration;
# (b) a 64 MiB download and upload through the program's commands against bare FtpGetFileA/
# FtpPutFileA and against curl; (c) start-up to the login window against a program showing one
# dialog; (d) the size of ruvex.exe, its peak memory with 500 entries listed, and its memory
# after 100 and after 1000 refreshes. A few minutes on two cores.
#
#   bench/run.sh [BUILD_DIR]        (default: build/windows, the tree tools/test.sh builds)
#
# BENCH_LISTING_ROUNDS, BENCH_TRANSFER_ROUNDS, BENCH_STARTUP_ROUNDS and BENCH_REFRESHES change
# how often each is measured. Exit status 1 only when something could not be measured.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${RUVEX_BUILD:-$root/build}/windows}

"$root/tools/install-deps.sh"
# The benchmark programs drive Ruvex through the test driver, so the tests are built too.
RUVEX_CMAKE_OPTIONS="${RUVEX_CMAKE_OPTIONS:-} -DBUILD_TESTING=ON" "$root/tools/build-windows.sh" "$build" MinSizeRel
build=$(cd "$build" && pwd)

export WINEPREFIX=$build/wineprefix RUVEX_EXE=$build/ruvex.exe RUVEX_BENCH_BIN=$build
exec "$root/tests/harness/session.sh" -- "$root/bench/measure.sh"
