#!/usr/bin/env bash
# Checks that ruvex.exe runs on a bare 32-bit Windows from XP SP3 on: a PE32 for i386, GUI
# subsystem, with its C runtime linked in, importing only from libraries the system protects
# from planting (KERNEL32, USER32, msvcrt), and only functions that XP's DLLs export
# (tools/winxp-exports/): those of its import table and those it loads itself, read from their
# one declaration (app/system_libraries.h) through the compiler's preprocessor.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/.." && pwd)
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
cxx=${RUVEX_CXX:-i686-w64-mingw32-g++-win32}
xp_exports=$root/tools/winxp-exports
headers=$($objdump -p "$exe")
status=0
fail() { echo "FAIL: $*"; status=1; }

grep -q 'file format pei-i386' <<<"$headers" && grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" ||
    fail "not a PE32 for i386"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not the Windows GUI subsystem"

while read -r dll; do
    grep -Eiq '^(kernel32|user32|msvcrt)\.dll$' <<<"$dll" ||
        fail "imports $dll, which the system does not protect from a file planted beside the program"
    echo "imports $dll"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

# "library name" for each function loaded at run time; LIST is the declaration's own table.
system_functions() {
    printf '#include "app/system_libraries.h"\n#define NAME(library, result, name, ...) @library name@\n%s(NAME)\n' "$1" |
        $cxx -E -P -x c++ -I"$root" -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0501 -D_WIN32_IE=0x0600 - |
        grep -o '@[a-z0-9]* [A-Za-z_]*@' | tr -d @
}
on_xp() { grep -Fqx "$2" "$xp_exports/$1.txt" 2>/dev/null && ! grep -Fqx "$2" "$xp_exports/not-xp.txt"; }
while read -r dll name; do
    on_xp "$(tr A-Z a-z <<<"${dll%.*}")" "$name" || fail "imports $dll!$name, which Windows XP SP3 does not have"
done < <(awk '/DLL Name:/ { dll = $3; next } /^$/ { dll = "" } dll != "" && NF == 3 { print dll, $3 }' <<<"$headers")
loaded=$(system_functions RUVEX_SYSTEM_FUNCTIONS)
[ -n "$loaded" ] || fail "found no functions loaded at run time in app/system_libraries.h"
while read -r library name; do
    on_xp "$library" "$name" || fail "loads $library.dll!$name, which Windows XP SP3 does not have"
done <<<"$loaded"
while read -r library name; do
    echo "optional: $library.dll!$name, used only where the system has it"
done < <(system_functions RUVEX_OPTIONAL_SYSTEM_FUNCTIONS)
[ $status -eq 0 ] && echo "ruvex.exe: PE32 i386, GUI subsystem, protected system DLLs only, every function on Windows XP SP3"
exit $status
