#!/bin/sh
# Inside the VM: the mouse's USB gadget in configfs with one FunctionFS function,
# left unbound (pallix-vmouse --usb-gadget binds the UDC itself on `plug`).
# usage: gadget.sh create|remove FFS_DIR
G=/sys/kernel/config/usb_gadget/ostrel
case "$1" in
create)
    [ -d /sys/class/udc/dummy_udc.0 ] || { echo "gadget: no dummy_udc.0" >&2; exit 1; }
    mkdir "$G" "$G/strings/0x409" "$G/configs/c.1" "$G/functions/ffs.mouse" || exit 1
    echo 0x1209 > "$G/idVendor"
    echo 0x0001 > "$G/idProduct"
    echo 0x1802 > "$G/bcdDevice"
    echo 0x0200 > "$G/bcdUSB"
    echo "Quelta" > "$G/strings/0x409/manufacturer"
    echo "PALLIX Ostrel Gaming Mouse" > "$G/strings/0x409/product"
    echo 100 > "$G/configs/c.1/MaxPower"
    echo 0xa0 > "$G/configs/c.1/bmAttributes"
    ln -s "$G/functions/ffs.mouse" "$G/configs/c.1/"
    mkdir -p "$2" && mount -t functionfs mouse "$2" ;;
remove)
    echo "" > "$G/UDC" 2>/dev/null
    umount "$2" 2>/dev/null
    rm -f "$G/configs/c.1/ffs.mouse"
    rmdir "$G/configs/c.1" "$G/functions/ffs.mouse" "$G/strings/0x409" "$G" 2>/dev/null ;;
*) echo "usage: gadget.sh create|remove FFS_DIR" >&2; exit 2 ;;
esac
