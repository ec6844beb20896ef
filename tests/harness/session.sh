#!/usr/bin/env bash
# tests/harness/session.sh [--own-display] -- COMMAND [ARGS...]: runs COMMAND in private network and
# mount namespaces with an Xvfb display (or the caller's), a wineserver for $WINEPREFIX and the test
# FTP server on 127.0.0.1:21, and exits with its status. COMMAND sees tools/wine-env.sh's variables
# and RUVEX_FTP_ROOT, _LOG, _FAULTS and RUVEX_SESSION_DIR (Unix paths; drive Z: under Wine).
set -euo pipefail
[ -n "${RUVEX_IN_NAMESPACE:-}" ] || exec env RUVEX_IN_NAMESPACE=1 unshare --net --mount -- "$0" "$@"

own_display=0
[ "$1" = --own-display ] && own_display=1 && shift
[ "$1" = -- ] || { echo "usage: session.sh [--own-display] -- COMMAND [ARGS...]" >&2; exit 2; }
shift
ip link set lo up

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build (tools/build-windows.sh makes it)}"
export WINEPREFIX RUVEX_SESSION_DIR=$(mktemp -d /tmp/ruvex-session.XXXXXX)
export RUVEX_FTP_ROOT=$RUVEX_SESSION_DIR/root RUVEX_FTP_LOG=$RUVEX_SESSION_DIR/ftp.log RUVEX_FTP_FAULTS=$RUVEX_SESSION_DIR/faults
# A file system apart from the prefix's drive C:, so that a download's file made in the current
# folder (the system folder) cannot be moved in place of one made beside the file chosen.
mount -t tmpfs tmpfs "$RUVEX_SESSION_DIR"
mkdir "$RUVEX_FTP_ROOT" "$RUVEX_SESSION_DIR/bin" && touch "$RUVEX_FTP_LOG" "$RUVEX_FTP_FAULTS"
source "$(dirname "$0")/../../tools/wine-env.sh" "$RUVEX_SESSION_DIR/bin"  # which ruvex.exe, and how

xvfb_pid= ftpd_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill $ftpd_pid $xvfb_pid 2>/dev/null || true
    wait 2>/dev/null || true
    umount "$RUVEX_SESSION_DIR" 2>/dev/null
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
