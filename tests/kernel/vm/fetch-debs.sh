#!/bin/sh
# Download (once) the Debian kernel image and udev packages used inside the
# test VM.  Nothing is installed on the host: the packages are kept in
# $PALLIX_KERNEL_CACHE (default /tmp/pallix-kernel-cache) and unpacked there with dpkg.
# Needs: "apt-get update" done once and access to Debian's archive (first run).
# Prints shell assignments: KVER KDEB VMLINUZ UDEVDIR
set -eu
CACHE=${PALLIX_KERNEL_CACHE:-/tmp/pallix-kernel-cache}
mkdir -p "$CACHE/debs"
exec 9>"$CACHE/.fetch.lock"
flock 9
# The ABI-versioned package that the meta package linux-image-amd64 points at
# (e.g. linux-image-6.1.0-57-amd64).  Old ABIs vanish from the archive at point
# releases, so resolve it each time, falling back to what the cache has.
# (linux-image-cloud-amd64 will not do: CONFIG_USB is not set there.)
# (the answer is kept for a day in $CACHE/resolved: apt-cache takes ~1 s)
PKG=${PALLIX_KERNEL_PKG:-}
if [ -z "$PKG" ] && [ -n "$(find "$CACHE/resolved" -mmin -1440 2>/dev/null)" ]; then PKG=$(cat "$CACHE/resolved"); fi
if [ -z "$PKG" ]; then
    PKG=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/{print $2; exit}')
    [ -n "$PKG" ] && echo "$PKG" > "$CACHE/resolved"
fi
if [ -z "$PKG" ] || ! { ls "$CACHE/debs/${PKG}_"*_amd64.deb >/dev/null 2>&1 || (cd "$CACHE/debs" && apt-get download "$PKG" >&2); }; then
    echo "fetch-debs: cannot resolve/download ${PKG:-linux-image-amd64}; using the newest cached kernel" >&2
    PKG=$(ls "$CACHE/debs/" 2>/dev/null | sed -n 's/^\(linux-image-[0-9][^_]*-amd64\)_.*/\1/p' | sort -V | tail -1)
fi
[ -n "$PKG" ] || { echo "fetch-debs: no kernel package (run apt-get update; needs Debian's archive)" >&2; exit 1; }
KVER=${PKG#linux-image-}
KDEB=$(ls "$CACHE/debs/${PKG}_"*_amd64.deb | tail -1)
VMLINUZ=$CACHE/vmlinuz-$KVER
if [ ! -f "$VMLINUZ" ]; then
    T=$(mktemp -d "$CACHE/x.XXXXXX")
    dpkg-deb --fsys-tarfile "$KDEB" | tar -x -C "$T" "./boot/vmlinuz-$KVER"
    mv "$T/boot/vmlinuz-$KVER" "$VMLINUZ"; rm -rf "$T"
fi
# udev (systemd-udevd, udevadm, rules) of the same systemd release as the host
UDEVDIR=$CACHE/udev-root
if [ ! -x "$UDEVDIR/usr/bin/udevadm" ]; then
    ls "$CACHE/debs/"udev_*.deb >/dev/null 2>&1 || ( cd "$CACHE/debs" && apt-get download udev >&2 )
    rm -rf "$UDEVDIR.tmp"; mkdir -p "$UDEVDIR.tmp"
    dpkg -x "$(ls "$CACHE/debs/"udev_*.deb | tail -1)" "$UDEVDIR.tmp"
    # the host is merged-/usr (bin -> usr/bin): move the package's /bin, /sbin,
    # /lib under usr/ so that it can be stacked over the host's /usr
    for d in bin sbin lib; do
        if [ -d "$UDEVDIR.tmp/$d" ]; then
            mkdir -p "$UDEVDIR.tmp/usr/$d"
            cp -a "$UDEVDIR.tmp/$d/." "$UDEVDIR.tmp/usr/$d/"
            rm -rf "${UDEVDIR:?}.tmp/$d"
        fi
    done
    rm -rf "$UDEVDIR.tmp/usr/share/man" "$UDEVDIR.tmp/usr/share/doc"
    rm -rf "$UDEVDIR"; mv "$UDEVDIR.tmp" "$UDEVDIR"
fi
echo "KVER=$KVER"
echo "KDEB=$KDEB"
echo "VMLINUZ=$VMLINUZ"
echo "UDEVDIR=$UDEVDIR"
