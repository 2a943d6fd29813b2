#!/bin/sh
# Builds the (cached) initramfs of the kernel-test VM:
#   busybox-static, the kernel modules listed below with their dependencies,
#   the unpacked udev package, and guest/init as /init.
# Usage: build-initramfs.sh            -> prints the path of the .cpio.gz
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
CACHE=${PALLIX_KERNEL_CACHE:-/tmp/pallix-kernel-cache}
[ -n "${KVER:-}" ] && [ -n "${KDEB:-}" ] && [ -n "${UDEVDIR:-}" ] || eval "$("$HERE/fetch-debs.sh")"
BUSYBOX=${BUSYBOX:-/bin/busybox}
# must be the static build: it runs as PID 1 before the host's /usr is mounted
{ [ -x "$BUSYBOX" ] && "$BUSYBOX" --list >/dev/null 2>&1 && dpkg -s busybox-static >/dev/null 2>&1; } || {
    echo "build-initramfs: needs busybox-static (apt-get install busybox-static)" >&2; exit 1; }

MODULES="virtio_pci 9pnet_virtio 9p overlay configfs
         dummy_hcd libcomposite usb_f_fs
         usbhid hid-generic evdev"
OUT=$CACHE/initramfs-$KVER.cpio.gz
STAMP=$(cat "$0" "$HERE/init" | md5sum | cut -c1-12)
exec 9>"$CACHE/.initramfs.lock"
flock 9
if [ -f "$OUT" ] && [ "$(cat "$OUT.stamp" 2>/dev/null)" = "$STAMP" ]; then
    echo "$OUT"; exit 0
fi

R=$(mktemp -d /tmp/khid-initramfs.XXXXXX)
K=$(mktemp -d /tmp/khid-kernel.XXXXXX)
trap 'rm -rf "$R" "$K"' EXIT
# the modules come straight out of the kernel package (unpacked only here)
dpkg-deb --fsys-tarfile "$KDEB" | tar -x -C "$K" "./lib/modules/$KVER"
MDIR=$K/lib/modules/$KVER
"$BUSYBOX" depmod -b "$K" "$KVER"
chmod 755 "$R"    # becomes the mode of / in the guest (mktemp made it 0700)
mkdir -p "$R/khid/bin" "$R/khid/modules" "$R/khid/rw" \
         "$R/proc" "$R/sys" "$R/dev" "$R/usr" "$R/etc" "$R/tmp" "$R/run" \
         "$R/var" "$R/root" "$R/mnt" "$R/home"
cp "$BUSYBOX" "$R/khid/bin/busybox"
for a in $("$BUSYBOX" --list); do [ -e "$R/khid/bin/$a" ] || ln -s busybox "$R/khid/bin/$a"; done
# merged-/usr symlinks: valid once the host's /usr is mounted in the guest
ln -s usr/bin "$R/bin"; ln -s usr/sbin "$R/sbin"; ln -s usr/lib "$R/lib"
ln -s usr/lib64 "$R/lib64"; ln -s usr/lib32 "$R/lib32"

# module closure in load order (dependencies first)
: > "$R/khid/modules.list"
resolve_path() {  # $1 = path relative to $MDIR, e.g. kernel/fs/9p/9p.ko
    local p d deps
    p=$1
    grep -qx "$p" "$R/khid/modules.list" && return 0
    deps=$(grep -E "^$p:" "$MDIR/modules.dep" | cut -d: -f2)
    for d in $deps; do resolve_path "$d"; done
    echo "$p" >> "$R/khid/modules.list"
}
resolve() {  # $1 = module name
    local p
    p=$(grep -oE "^[^:]*/$1\.ko:" "$MDIR/modules.dep" | tr -d :)
    [ -n "$p" ] || { echo "build-initramfs: module $1 not in $KVER" >&2; exit 1; }
    resolve_path "$p"
}
for m in $MODULES; do resolve "$m"; done
while read -r p; do
    mkdir -p "$R/khid/modules/$(dirname "$p")"
    cp "$MDIR/$p" "$R/khid/modules/$p"
done < "$R/khid/modules.list"

# udev from the Debian package (hwdb sources left out: no hwdb.bin anyway)
mkdir -p "$R/khid/udev"
cp -a "$UDEVDIR/usr" "$UDEVDIR/etc" "$R/khid/udev/"
rm -rf "$R/khid/udev/usr/lib/udev/hwdb.d" "$R/khid/udev/etc/init.d"

cp "$HERE/init" "$R/init"; chmod 755 "$R/init"
echo "$KVER" > "$R/khid/kver"
( cd "$R" && find . | LC_ALL=C sort | "$BUSYBOX" cpio -o -H newc -R 0:0 2>/dev/null ) | gzip -1 > "$OUT.tmp"
mv "$OUT.tmp" "$OUT"; echo "$STAMP" > "$OUT.stamp"
echo "$OUT"
