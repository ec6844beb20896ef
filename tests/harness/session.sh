#!/usr/bin/env bash
# tests/harness/session.sh - runs one command in an isolated session: a private network
# namespace with only its loopback, an Xvfb display (or, with --own-display, the caller's),
# a wineserver for the build's Wine prefix ($WINEPREFIX), and the test FTP server on 127.0.0.1
# port 21 serving a fresh, empty root. Tears it all down afterwards; exits with the command's
# status.    session.sh [--own-display] -- COMMAND [ARGS...]
#
# The command sees RUVEX_EXE, RUVEX_I386, RUVEX_FTP_ROOT, RUVEX_FTP_LOG, RUVEX_FTP_FAULTS and RUVEX_SESSION_DIR
# (Unix paths, on drive Z: under Wine).
set -euo pipefail
[ -n "${RUVEX_IN_NAMESPACE:-}" ] || exec env RUVEX_IN_NAMESPACE=1 unshare --net -- "$0" "$@"

own_display=0
[ "$1" = --own-display ] && own_display=1 && shift
[ "$1" = -- ] || { echo "usage: session.sh [--own-display] -- COMMAND [ARGS...]" >&2; exit 2; }
shift
ip link set lo up

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build (tools/build-windows.sh makes it)}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export RUVEX_SESSION_DIR=$(mktemp -d /tmp/ruvex-session.XXXXXX)
# Every program of the build runs here, and this is where it is decided how. The tests, tools and
# the prefix are 64-bit, on Wine's 64-bit loader (`wine` below), so that only the 32-bit ruvex.exe
# runs on Wine's 32-bit side, which some hosts run only under an emulator. The ruvex.exe they drive
# (RUVEX_EXE) is the shipped one wherever 32-bit code runs natively or RUVEX_DRIVE=shipped asks
# for it; elsewhere, or with RUVEX_DRIVE=64, it is the 64-bit build of the same sources, which
# starts in seconds where the shipped one takes a minute.
mkdir "$RUVEX_SESSION_DIR/bin" && printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$RUVEX_SESSION_DIR/bin/wine"
chmod +x "$RUVEX_SESSION_DIR/bin/wine"
export PATH=$RUVEX_SESSION_DIR/bin:$PATH WINELOADER=/usr/lib/wine/wine64
export RUVEX_I386=$("$(dirname "$0")/../../tools/i386-host.sh")  # how 32-bit code runs here
if [ -n "${RUVEX_SHIPPED_EXE:-}" ]; then
    RUVEX_EXE=$RUVEX_SHIPPED_EXE
    [ "$RUVEX_I386" = native ] && [ "${RUVEX_DRIVE:-}" != 64 ] || [ "${RUVEX_DRIVE:-}" = shipped ] || RUVEX_EXE=${RUVEX_EXE_64:?}
fi
if [ -n "${RUVEX_EXE:-}" ]; then
    export RUVEX_EXE
    echo "session: drives $RUVEX_EXE: $(file -b "$RUVEX_EXE" | cut -d, -f1), SHA-256 $(sha256sum "$RUVEX_EXE" | cut -c1-64)," \
         "32-bit code $RUVEX_I386 here"
fi
export RUVEX_FTP_ROOT=$RUVEX_SESSION_DIR/root RUVEX_FTP_LOG=$RUVEX_SESSION_DIR/ftp.log RUVEX_FTP_FAULTS=$RUVEX_SESSION_DIR/faults
mkdir -p "$RUVEX_FTP_ROOT" && touch "$RUVEX_FTP_LOG" "$RUVEX_FTP_FAULTS"

xvfb_pid= ftpd_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill $ftpd_pid $xvfb_pid 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$RUVEX_SESSION_DIR"
}
trap cleanup EXIT

if [ "$own_display" = 0 ] || [ -z "${DISPLAY:-}" ]; then
    exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
    xvfb_pid=$!
    read -r -t 20 display <&3 || { echo "session.sh: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$display
fi

# Wine's sockets live in the wineserver, so it must start inside this namespace. Its helper
# processes keep the pipes of the command that started them, so start them here, silenced.
wineserver -k >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1
wine wineboot >/dev/null 2>&1

ready=$RUVEX_SESSION_DIR/ftp.ready
/usr/bin/python3 "$(dirname "$0")/../server/ruvex_ftpd.py" "$RUVEX_FTP_ROOT" "$RUVEX_FTP_LOG" "$RUVEX_FTP_FAULTS" "$ready" \
    >/dev/null 2>"$RUVEX_SESSION_DIR/ftpd.err" &
ftpd_pid=$!
for _ in $(seq 100); do [ -f "$ready" ] || sleep 0.1; done
[ -f "$ready" ] || { echo "session.sh: the FTP server did not start" >&2; cat "$RUVEX_SESSION_DIR/ftpd.err" >&2; exit 1; }

"$@"
