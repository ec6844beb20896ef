#!/usr/bin/env bash
# Checks that ruvex.exe runs on a bare 32-bit Windows from XP SP3 on: a PE32 for i386, GUI
# subsystem, importing only from libraries the system protects from planting (KERNEL32, USER32,
# GDI32, msvcrt: known DLLs, always loaded from the system folder), and taking from any library only what XP exports (tools/winxp-exports/): the
# functions of its import table, and those it loads itself, read from their one declaration
# (app/system_libraries.h) through the compiler's preprocessor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exports=$root/tools/winxp-exports
headers=$(${OBJDUMP:-i686-w64-mingw32-objdump} -p "$1")
status=0
fail() { echo "FAIL: $*"; status=1; }
on_xp() { grep -Fqx "$2" "$exports/$1.txt" 2>/dev/null && ! grep -Fqx "$2" "$exports/not-xp.txt"; }
loaded() {  # "library name" for each entry of the table $1
    printf '#include "app/system_libraries.h"\n#define NAME(library, name, failure) @library name@\n%s(NAME)\n' "$1" |
        ${RUVEX_CXX:-i686-w64-mingw32-g++-win32} -E -P -x c++ -I"$root" -D_WIN32_WINNT=0x0501 - | grep -o '@[a-z0-9]* [A-Za-z_0-9]*@' | tr -d @
}

grep -q 'file format pei-i386' <<<"$headers" && grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" || fail "not a PE32 for i386"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not the Windows GUI subsystem"
while read -r dll; do
    echo "imports $dll"
    grep -Eiq '^(kernel32|user32|gdi32|msvcrt)\.dll$' <<<"$dll" || fail "imports $dll, which the system does not protect from planting"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
while read -r dll name; do
    on_xp "$(tr A-Z a-z <<<"${dll%.*}")" "$name" || fail "imports $dll!$name, which Windows XP SP3 does not have"
done < <(awk '/DLL Name:/ { dll = $3; next } /^$/ { dll = "" } dll != "" && NF == 3 { print dll, $3 }' <<<"$headers")
functions=$(loaded RUVEX_SYSTEM_FUNCTIONS)
[ -n "$functions" ] || fail "found no functions in app/system_libraries.h"
while read -r library name; do
    on_xp "$library" "$name" || fail "loads $library.dll!$name, which Windows XP SP3 does not have"
done <<<"$functions"
loaded RUVEX_OPTIONAL_SYSTEM_FUNCTIONS | sed 's/\(.*\) \(.*\)/optional: \1.dll!\2, used only where the system has it/'
[ $status -eq 0 ] && echo "ruvex.exe: PE32 i386, GUI, protected system DLLs only, every function on Windows XP SP3"
exit $status
