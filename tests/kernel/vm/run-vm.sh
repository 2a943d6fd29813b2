#!/bin/sh
# Boot Debian's stock kernel under qemu (TCG, no KVM needed) and run one shell
# script inside it as root; the guest sees the host's /usr and /etc read-only
# plus the folders given with --share/--share-rw at the same absolute paths.
#
# usage: run-vm.sh [--share DIR]... [--share-rw DIR]... [--out DIR]
#                  [--mem MB] [--smp N] [--timeout SEC] [--log FILE]
#                  [--env NAME=VALUE]... [--append 'kernel args'] -- /abs/path/script.sh
#   --out DIR   rw share; the guest writes the script's exit code to DIR/khid-exit
#               (default: a fresh folder under /tmp, printed on stderr)
#   --env       exported in the guest before the script runs
# Environment: PALLIX_KERNEL_CACHE (default /tmp/pallix-kernel-cache), KHID_TB_MB (TCG
# translation cache, default 128), KHID_BIOS (e.g. /usr/share/qemu/qboot.rom).
# Exit status: the script's exit status inside the VM; 124 if the VM ran past
# --timeout; 125 if the VM stopped without reporting an exit status.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
MEM=512 SMP=1 TIMEOUT=300 LOG= OUT= EXTRA= SHARES= NSH=0 ENVS= VIRTFS=
shq_export() {  # NAME=VALUE -> export NAME='VALUE' (single-quoted for sh)
    printf "export %s='%s'\n" "${1%%=*}" "$(printf %s "${1#*=}" | sed "s/'/'\\\\''/g")"
}
while [ $# -gt 0 ]; do
    case "$1" in
    --share|--share-rw)
        d=$(cd "$2" && pwd)
        case "$d" in /usr|/usr/*|/etc|/etc/*|/) echo "run-vm: cannot share $d" >&2; exit 2;; esac
        mode=ro; [ "$1" = --share-rw ] && mode=rw
        tag=khid$NSH; NSH=$((NSH + 1))
        SHARES="$SHARES khid.share=$tag,$d,$mode"
        ro=on; [ $mode = rw ] && ro=off
        VIRTFS="$VIRTFS -virtfs local,path=$d,mount_tag=$tag,security_model=none,readonly=$ro,multidevs=remap"
        shift 2 ;;
    --out) mkdir -p "$2"; OUT=$(cd "$2" && pwd); shift 2 ;;
    --mem) MEM=$2; shift 2 ;;
    --smp) SMP=$2; shift 2 ;;
    --timeout) TIMEOUT=$2; shift 2 ;;
    --log) LOG=$2; shift 2 ;;
    --env) ENVS="$ENVS$(shq_export "$2")
"; shift 2 ;;
    --append) EXTRA="$EXTRA $2"; shift 2 ;;
    --) shift; break ;;
    *) echo "run-vm: unknown option $1" >&2; exit 2 ;;
    esac
done
[ $# -eq 1 ] || { echo "usage: run-vm.sh [options] -- /abs/path/script.sh" >&2; exit 2; }
SCRIPT=$1
[ -n "$OUT" ] || { OUT=$(mktemp -d /tmp/khid-out.XXXXXX); echo "run-vm: out dir $OUT" >&2; }
tag=khid$NSH
SHARES="$SHARES khid.share=$tag,$OUT,rw"
VIRTFS="$VIRTFS -virtfs local,path=$OUT,mount_tag=$tag,security_model=none,readonly=off,multidevs=remap"
rm -f "$OUT/khid-exit" "$OUT/khid-env"
[ -z "$ENVS" ] || printf '%s' "$ENVS" > "$OUT/khid-env"

command -v qemu-system-x86_64 >/dev/null || { echo "run-vm: apt-get install qemu-system-x86" >&2; exit 2; }
eval "$("$HERE/fetch-debs.sh")"
export KVER KDEB UDEVDIR
INITRD=$("$HERE/build-initramfs.sh")
ACCEL=tcg,thread=multi,tb-size=${KHID_TB_MB:-128} CPU=max
[ -w /dev/kvm ] && [ "${PALLIX_KERNEL_KVM:-}" = 1 ] && ACCEL=kvm CPU=host

LOGOPT=
[ -z "$LOG" ] || LOGOPT=",logfile=$LOG"
set +e
# shellcheck disable=SC2086
timeout --foreground -k 5 "$TIMEOUT" qemu-system-x86_64 \
    -machine pc -accel "$ACCEL" -cpu "$CPU" ${KHID_BIOS:+-bios "$KHID_BIOS"} -m "$MEM" -smp "$SMP" \
    -nodefaults -no-user-config -display none -no-reboot \
    -chardev stdio,id=con,signal=off$LOGOPT -serial chardev:con \
    -kernel "$VMLINUZ" -initrd "$INITRD" \
    -append "console=ttyS0 panic=-1 quiet loglevel=4 mitigations=off $EXTRA$SHARES khid.cmd=$SCRIPT khid.out=$OUT" \
    -virtfs local,path=/usr,mount_tag=hostusr,security_model=none,readonly=on,multidevs=remap \
    -virtfs local,path=/etc,mount_tag=hostetc,security_model=none,readonly=on,multidevs=remap \
    $VIRTFS </dev/null
qrc=$?
set -e
[ $qrc -ne 124 ] || { echo "run-vm: VM timed out after ${TIMEOUT}s" >&2; exit 124; }
[ -f "$OUT/khid-exit" ] || { echo "run-vm: VM ended (qemu rc $qrc) without an exit status" >&2; exit 125; }
exit "$(cat "$OUT/khid-exit")"
