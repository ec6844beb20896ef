#!/usr/bin/env bash
# tests/harness/session.sh - runs one test session in isolation: a private network namespace
# with only its loopback, an Xvfb display, a wineserver for the build's own Wine prefix, and
# the test FTP server on 127.0.0.1 port 21 serving a fresh, empty root. Then it runs the
# given command and tears all of it down, whatever happened. Exit status: the command's.
#
#   session.sh [--no-ftp] [--screenshots DIR] [--own-display] -- COMMAND [ARGS...]
#
# --own-display keeps the caller's DISPLAY (a person's screen) instead of starting Xvfb.
# The command sees RUVEX_FTP_ROOT, RUVEX_FTP_LOG and RUVEX_FTP_FAULTS (Unix paths; under
# Wine the same files are on drive Z:), RUVEX_SESSION_DIR (scratch space), DISPLAY and
# WINEPREFIX. Bitmaps the command leaves as DIR/*.bmp are turned into PNGs.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_root=$(cd "$here/../.." && pwd)

if [ -z "${RUVEX_IN_NAMESPACE:-}" ]; then
    exec env RUVEX_IN_NAMESPACE=1 unshare --net -- "$0" "$@"
fi

with_ftp=1
screenshots=
own_display=0
while [ $# -gt 0 ]; do
    case "$1" in
        --no-ftp) with_ftp=0; shift ;;
        --screenshots) screenshots=$2; shift 2 ;;
        --own-display) own_display=1; shift ;;
        --) shift; break ;;
        *) echo "session.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: session.sh [--no-ftp] [--screenshots DIR] [--own-display] -- COMMAND..." >&2; exit 2; }

ip link set lo up

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export RUVEX_SESSION_DIR=$(mktemp -d /tmp/ruvex-session.XXXXXX)
export RUVEX_FTP_ROOT=$RUVEX_SESSION_DIR/root RUVEX_FTP_LOG=$RUVEX_SESSION_DIR/ftp.log
export RUVEX_FTP_FAULTS=$RUVEX_SESSION_DIR/faults
mkdir -p "$RUVEX_FTP_ROOT"
: > "$RUVEX_FTP_LOG"
: > "$RUVEX_FTP_FAULTS"

xvfb_pid= ftpd_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$ftpd_pid" ] && kill "$ftpd_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -n "$screenshots" ] && compgen -G "$screenshots/*.bmp" >/dev/null; then
        for bmp in "$screenshots"/*.bmp; do convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"; done
    fi
    rm -rf "$RUVEX_SESSION_DIR"
}
trap cleanup EXIT

if [ "$own_display" = 0 ] || [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and tells us which.
    exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
    xvfb_pid=$!
    read -r -t 20 display <&3 || { echo "session.sh: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$display
fi

# Wine's sockets live in the wineserver, so it must start inside this namespace. Its helper
# processes keep the pipes of the command that started them, so start them here, silenced.
wineserver -k >/dev/null 2>&1 || true
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    # A virtual desktop: Wine then draws the windows' frames, title bars and close boxes
    # itself, as Windows would, instead of leaving them to a window manager we do not run.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # This Wine does not find its own fonts (Marlett draws the caption buttons) by itself.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # The desktop came up with the new prefix; start again so that it is the virtual one.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1
fi
wineboot >/dev/null 2>&1

if [ "$with_ftp" = 1 ]; then
    ready=$RUVEX_SESSION_DIR/ftp.ready
    /usr/bin/python3 "$source_root/tests/server/ruvex_ftpd.py" --root "$RUVEX_FTP_ROOT" --log "$RUVEX_FTP_LOG" \
        --faults "$RUVEX_FTP_FAULTS" --ready "$ready" >/dev/null 2>"$RUVEX_SESSION_DIR/ftpd.err" &
    ftpd_pid=$!
    for _ in $(seq 100); do [ -f "$ready" ] && break; sleep 0.1; done
    [ -f "$ready" ] || { echo "session.sh: the FTP server did not start" >&2; cat "$RUVEX_SESSION_DIR/ftpd.err" >&2; exit 1; }
fi

[ -n "$screenshots" ] && mkdir -p "$screenshots" && export RUVEX_SCREENSHOTS=$screenshots
status=0
"$@" || status=$?
exit $status
