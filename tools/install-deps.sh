#!/usr/bin/env bash
# Installs what building and testing Ruvex needs on a Debian machine: the mingw-w64 cross
# compilers, Wine, Xvfb and the screenshot tools, a real FTP server, GoogleTest sources and
# clang's fuzzing runtime; on a host that runs 64-bit code only, qemu-user to run the 32-bit
# programs the shipped ruvex.exe needs. Safe to run again.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
    binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686
    googletest
    wine wine32:i386 wine64 fonts-wine locales
    xvfb xdotool imagemagick x11-utils
    python3 python3-pyftpdlib
    iproute2 util-linux procps file curl
)
i386=$("$(dirname "$0")/i386-host.sh")
[ "$i386" = none ] && packages+=(qemu-user-static)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes a program's ANSI code page from LANG once the Linux locale exists; the tests run
# Ruvex under Japanese Windows' code page 932 too, and under UTF-8 (65001), which Wine gives a
# locale that has no ANSI code page of its own.
for name in ja_JP hi_IN; do
    locale -a | grep -qix "$name.utf8" && continue
    grep -qx "$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >> /etc/locale.gen
    locale-gen >/dev/null
done

# Some hosts run 64-bit code only, and so neither 32-bit Wine nor the shipped ruvex.exe. There
# qemu-user runs 32-bit programs, through a binfmt_misc rule that Debian's package does not
# register for i386 on amd64.
if [ "$i386" = none ]; then
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        > "$binfmt/register"
    echo "install-deps: this host's kernel runs 64-bit code only; 32-bit programs now run under qemu-i386" \
         "($binfmt/qemu-i386)"
else
    echo "install-deps: 32-bit programs run $i386 here"
fi
