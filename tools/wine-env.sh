# tools/wine-env.sh - sourced wherever a Windows program of the build runs (tests/harness/session.sh,
# and through it the tests, the tour and the benchmark): the one place that decides how.
#
# The tests, tools and the Wine prefix are 64-bit, on Wine's 64-bit loader (`wine` below), so that
# only the 32-bit ruvex.exe runs on Wine's 32-bit side, which some hosts run only under an
# emulator. The ruvex.exe they drive (RUVEX_EXE) is the shipped one (RUVEX_SHIPPED_EXE) wherever
# 32-bit code runs natively or RUVEX_DRIVE=shipped asks for it; elsewhere, or with RUVEX_DRIVE=64,
# it is the 64-bit build of the same sources (RUVEX_EXE_64), which starts in seconds where the
# shipped one takes a minute. Says which, with its bitness and SHA-256. Needs a folder for the
# `wine` command in $1.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=/usr/lib/wine/wine64
printf '#!/bin/sh\nexec %s "$@"\n' "$WINELOADER" > "$1/wine" && chmod +x "$1/wine"
export PATH=$1:$PATH
export RUVEX_I386=$("$(dirname "${BASH_SOURCE[0]}")/i386-host.sh")  # how 32-bit code runs here
if [ -n "${RUVEX_SHIPPED_EXE:-}" ]; then
    RUVEX_EXE=$RUVEX_SHIPPED_EXE
    [ "$RUVEX_I386" = native ] && [ "${RUVEX_DRIVE:-}" != 64 ] || [ "${RUVEX_DRIVE:-}" = shipped ] || RUVEX_EXE=${RUVEX_EXE_64:?}
fi
if [ -n "${RUVEX_EXE:-}" ]; then
    export RUVEX_EXE
    echo "session: drives $RUVEX_EXE: $(file -b "$RUVEX_EXE" | cut -d, -f1), SHA-256 $(sha256sum "$RUVEX_EXE" | cut -c1-64)," \
         "32-bit code $RUVEX_I386 here"
fi
