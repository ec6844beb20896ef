#!/usr/bin/env bash
# Says how this host runs 32-bit x86 programs, such as 32-bit Wine and so the shipped ruvex.exe:
#   native     the kernel runs them itself
#   emulated   qemu-user runs them (a binfmt_misc rule, which the kernel asks before its own loader)
#   none       not at all: the kernel runs 64-bit code only and no emulator is registered
# The kernel is asked by running a static 32-bit program that only exits: whether the i386 C
# library is installed, which a fresh host lacks and a look-alike can fake, says nothing of it.
# Where an emulator rule needlessly stands before a kernel that runs such programs itself (a
# private binfmt_misc, Linux 6.7 on, tells), it says so on stderr, and how to undo it.
set -u
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# An ELF header, a program header that loads the file, then mov eax, 1; xor ebx, ebx; int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
chmod +x "$probe"

rule=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -r "$rule" ] && grep -qx enabled "$rule"; then
    if unshare --user --map-root-user --mount sh -c \
        'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && "$0"' "$probe" 2>/dev/null; then
        echo "i386-host: the kernel runs 32-bit programs itself, yet $rule emulates them; as root," \
             "'echo -1 > $rule' makes them run natively again" >&2
    fi
    echo emulated
elif "$probe" 2>/dev/null; then
    echo native
else
    echo none
fi
