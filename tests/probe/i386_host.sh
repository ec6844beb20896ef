#!/usr/bin/env bash
# tools/i386-host.sh asks the kernel. In a private binfmt_misc (Linux 6.7 on; skipped elsewhere)
# without an emulator rule, it answers what the kernel does, "native" or "none", also where a
# look-alike i386 loader answers; with qemu's rule registered there (where qemu is), "emulated".
set -u
probe=$(cd "$(dirname "$0")/../../tools" && pwd)/i386-host.sh
in_private() {
    unshare --user --map-root-user --mount bash -c \
        'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || exit 77; '"$1"' "$0"' "$probe"
}
kernel=$(in_private '') || { echo "no private binfmt_misc here: skipped"; exit 77; }
printf '#!/bin/sh\necho ld.so 2.36\n' > "${TMPDIR:-/tmp}/look-alike-loader" && chmod +x "${TMPDIR:-/tmp}/look-alike-loader"
fooled=$(in_private "mount --bind ${TMPDIR:-/tmp}/look-alike-loader /lib/ld-linux.so.2 2>/dev/null;")
emulated=emulated
[ -x /usr/bin/qemu-i386-static ] && emulated=$(in_private "printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' > /proc/sys/fs/binfmt_misc/register;")
echo "the kernel alone: $kernel; with a look-alike loader: $fooled; with qemu's rule: $emulated"
[[ $kernel =~ ^(native|none)$ ]] && [ "$fooled" = "$kernel" ] && [ "$emulated" = emulated ]
