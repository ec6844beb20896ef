#!/usr/bin/env bash
# Builds Ruvex and runs it against a local FTP server that serves a sample tree, in an
# isolated session (a private network namespace with only its loopback). Safe to run again.
#
#   tools/run.sh        (RUVEX_BUILD: the build folder, default build/ in the source tree)
#
# With a screen ($DISPLAY set), Ruvex opens on it; log in to 127.0.0.1 with an empty user
# name and password, and close its window to end. Without one, a scripted tour runs on a
# virtual display (log in, open a folder, download a file, come back up) and saves a
# screenshot of every step under the build folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUVEX_BUILD:-$root/build}/windows

"$root/tools/install-deps.sh"
# The tour drives Ruvex through the test driver, so the tests are built too.
RUVEX_CMAKE_OPTIONS="${RUVEX_CMAKE_OPTIONS:-} -DBUILD_TESTING=ON" "$root/tools/build-windows.sh" "$build" MinSizeRel
build=$(cd "$build" && pwd)

export WINEPREFIX=$build/wineprefix RUVEX_SHIPPED_EXE=$build/release/ruvex.exe RUVEX_EXE_64=$build/x86_64/ruvex.exe
session=$root/tests/harness/session.sh
sample_tree=$root/tools/demo/make-sample-tree.sh

if [ -n "${DISPLAY:-}" ]; then
    case "$DISPLAY" in
        :*) ;;
        *) echo "run.sh: DISPLAY=$DISPLAY goes over the network, which the session's private network" \
                "cannot reach; use a local display (:N), or unset DISPLAY for the scripted tour." >&2
           exit 1 ;;
    esac
    echo "Ruvex opens on your screen: log in to 127.0.0.1 with an empty user name and password."
    echo "Close its window to end."
    status=0
    "$session" --own-display -- bash -c '"$1" "$RUVEX_FTP_ROOT" && wine "$RUVEX_EXE"' _ "$sample_tree" || status=$?
    # Closing the login window ends Ruvex with exit code 0xFFFFFFFF, which reaches us as 255.
    [ "$status" = 0 ] || [ "$status" = 255 ] || exit "$status"
    exit 0
fi

demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo/downloads" "$demo/screenshots"
export RUVEX_SCREENSHOTS=$demo/screenshots
echo "No screen (DISPLAY is not set): a scripted tour of Ruvex on a virtual display."
# Started in the download folder, where the tour saves and the save chooser opens. Wine's note
# that the drive Z: has no volume label (the chooser asks) is left out.
"$session" -- bash -c '"$1" "$RUVEX_FTP_ROOT" && cd "$2" && wine "$3"' _ "$sample_tree" "$demo/downloads" \
    "$build/ruvex_tour.exe" 2> >(grep -v 'FS volume label' >&2)
echo "Screenshots of every step: $demo/screenshots/"
ls -1 "$demo/screenshots"
echo "The downloaded file: $demo/downloads/"
