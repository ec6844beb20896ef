#!/usr/bin/env bash
# Checks that ruvex.exe runs on a bare 32-bit Windows from XP SP3 on: a PE32 for i386, GUI
# subsystem, with its C runtime linked in, so that it imports nothing but the system's own
# DLLs, and only functions that XP's DLLs export (tools/winxp-exports/).
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
headers=$($objdump -p "$exe")
status=0
fail() { echo "FAIL: $*"; status=1; }

grep -q 'file format pei-i386' <<<"$headers" && grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" ||
    fail "not a PE32 for i386"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not the Windows GUI subsystem"

system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|wininet|msvcrt|advapi32|shell32|ole32)\.dll$'
while read -r dll; do
    grep -Eiq "$system_dlls" <<<"$dll" || fail "imports a DLL that is not the system's: $dll"
    echo "imports $dll"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
xp_exports=$(dirname "$0")/../tools/winxp-exports
while read -r dll name; do
    list=$xp_exports/$(tr A-Z a-z <<<"${dll%.*}").txt
    if [ ! -f "$list" ] || ! grep -Fqx "$name" "$list" || grep -Fqx "$name" "$xp_exports/not-xp.txt"; then
        fail "imports $dll!$name, which Windows XP SP3 does not have"
    fi
done < <(awk '/DLL Name:/ { dll = $3; next } /^$/ { dll = "" } dll != "" && NF == 3 { print dll, $3 }' <<<"$headers"
         # and the functions loaded by name on first use
         sed -n 's/^LATE_BOUND(g_winInet, [^,]*, \([A-Za-z]*\),.*/wininet.dll \1/p
                 s/^LATE_BOUND(g_commonDialogs, [^,]*, \([A-Za-z]*\),.*/comdlg32.dll \1/p' "$(dirname "$0")/../app/late_imports.cpp")
[ $status -eq 0 ] && echo "ruvex.exe: PE32 i386, GUI subsystem, system DLLs only, every import on Windows XP SP3"
exit $status
