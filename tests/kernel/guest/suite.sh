#!/bin/sh
# Inside the VM (root): the gadget skeleton, then every kernel test in one boot -
# first with the kernel alone (nodes root's, 0600), then with systemd-udevd and the
# product's rule, a faked logind seat giving uid 65534 the uaccess ACL.
# From run.sh: PALLIX_BUILD, PALLIX_KERNEL_PROGRAMS, PALLIX_KERNEL_FILTER (not "*":
# only those tests, without udevd).
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=${KHID_OUT:-/tmp}
FFS=/dev/ffs-mouse
T=$PALLIX_BUILD/tests/kernel/kernel_tests
export PALLIX_KERNEL_FFS=$FFS QT_QPA_PLATFORM=offscreen
sh "$HERE/gadget.sh" create "$FFS" || exit 1
rc=0
phase() {  # NAME FILTER
    echo "===== $1 (uptime $(cut -d' ' -f1 /proc/uptime) s)"
    "$T" --gtest_filter="$2" --gtest_output="xml:$OUT/$1.xml" || rc=1
}
if [ "${PALLIX_KERNEL_FILTER:-*}" != "*" ]; then
    phase selected "$PALLIX_KERNEL_FILTER"
else
    phase without-udevd "-KernelUdev.*"
    mkdir -p /run/udev /etc/udev/rules.d /run/systemd/seats
    cp "$PALLIX_BUILD/packaging/70-pallix-ostrel.rules" /etc/udev/rules.d/
    printf 'ACTIVE=c1\nACTIVE_UID=65534\n' > /run/systemd/seats/seat0
    /lib/systemd/systemd-udevd --daemon
    udevadm trigger --action=add >/dev/null 2>&1
    udevadm settle -t 30
    phase with-udevd "KernelUdev.*:KernelHotplug.*"
    udevadm control --exit 2>/dev/null
fi
sh "$HERE/gadget.sh" remove "$FFS"
echo "===== done (uptime $(cut -d' ' -f1 /proc/uptime) s)"
exit $rc
