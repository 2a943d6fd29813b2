#!/bin/sh
# The kernel tests, from the host: boots Debian's stock kernel once under qemu (no
# KVM needed) and runs guest/suite.sh in it, where the virtual mouse is a USB gadget
# on dummy_hcd seen through the kernel's own usbhid/hidraw and udev.
# usage: run.sh BUILD_DIR
# Env: PALLIX_KERNEL_CACHE (kernel package and initramfs; default /tmp/pallix-kernel-cache),
#      PALLIX_KERNEL_PROGRAMS (a build folder whose pallixctl and Qx7Monitor to test
#      instead of BUILD_DIR's), PALLIX_KERNEL_FILTER (gtest filter), PALLIX_KERNEL_TIMEOUT.
# Exit: 0 passed, 1 failed, 77 skipped (no qemu, busybox-static or kernel package).
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
SOURCE=$(cd "$HERE/../.." && pwd)
skip() { echo "kernel tests: SKIP: $*"; exit 77; }
command -v qemu-system-x86_64 >/dev/null || skip "qemu-system-x86 is not installed"
dpkg -s busybox-static >/dev/null 2>&1 || skip "busybox-static is not installed"
[ -x "$BUILD/tests/kernel/kernel_tests" ] || skip "kernel_tests not built"
"$HERE/vm/fetch-debs.sh" >/dev/null || skip "the kernel package cannot be downloaded (apt-get update?)"
qemu-system-x86_64 -accel help 2>/dev/null | grep -q tcg || skip "qemu cannot emulate (no TCG)"

OUT=$(mktemp -d /tmp/pallix-kernel-out.XXXXXX)
PROGRAMS=${PALLIX_KERNEL_PROGRAMS:-$BUILD}
PROGRAMS=$(cd "$PROGRAMS" && pwd)
set -- --share "$SOURCE" --share "$BUILD"
[ "$PROGRAMS" = "$BUILD" ] || set -- "$@" --share "$PROGRAMS"
start=$(date +%s.%N)
set +e
"$HERE/vm/run-vm.sh" "$@" --out "$OUT" \
    --env "PALLIX_BUILD=$BUILD" --env "PALLIX_SOURCE=$SOURCE" --env "PALLIX_KERNEL_PROGRAMS=$PROGRAMS" \
    --env "PALLIX_KERNEL_FILTER=${PALLIX_KERNEL_FILTER:-*}" \
    --timeout "${PALLIX_KERNEL_TIMEOUT:-600}" -- "$HERE/guest/suite.sh" > "$OUT/console.log" 2>&1
rc=$?
set -e
end=$(date +%s.%N)
sed -e 's/\r$//' "$OUT/console.log"
echo "kernel tests: 1 boot, $(awk "BEGIN { printf \"%.1f\", $end - $start }") s wall, exit $rc"
case $rc in
0) rm -rf "$OUT" ;;
124) echo "kernel tests: the VM timed out; console and results in $OUT" ;;
125) echo "kernel tests: the VM ended without a result; console in $OUT" ;;
*) echo "kernel tests: failed; console and results in $OUT" ;;
esac
[ $rc -eq 0 ]
