#!/usr/bin/env bash
# Installs what building and testing Ruvex needs on a Debian machine: the i686
# mingw-w64 cross compilers, 32-bit Wine, Xvfb and the screenshot tools, a real
# FTP server, GoogleTest sources and clang's fuzzing runtime. Safe to run again.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686
    googletest
    wine wine32:i386 wine64 fonts-wine locales
    xvfb xdotool imagemagick x11-utils
    python3 python3-pyftpdlib
    iproute2 util-linux procps file curl
)

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
# Ruvex under Japanese Windows' code page 932 too.
if ! locale -a | grep -qix 'ja_JP.utf8'; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    locale-gen >/dev/null
fi
