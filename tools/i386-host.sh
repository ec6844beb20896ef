#!/usr/bin/env bash
# Says how this host runs 32-bit x86 programs, such as 32-bit Wine and so the shipped ruvex.exe:
#   native     the kernel runs them itself
#   emulated   qemu-user runs them (a binfmt_misc rule, which the kernel asks before its own loader)
#   none       not at all: the kernel runs 64-bit code only and no emulator is registered
rule=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -r "$rule" ] && grep -qx enabled "$rule"; then
    echo emulated
elif /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo native
else
    echo none
fi
