#!/usr/bin/env bash
# The Debian packages build from the build tree's install rules, install into a
# scratch root with its own dpkg database, run from there, and remove every file
# they installed (the login entry, a conffile, stays until purge).
#   debian_package.sh BUILD_DIR
set -u
build=$1
source "$(dirname "$0")/lib.sh"
scratch_dir
private_env

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack"
  finish; exit
fi
suite=$(ls "$scratch"/pkg/pallix-ostrel_*.deb 2>/dev/null)
vmouse=$(ls "$scratch"/pkg/pallix-ostrel-vmouse_*.deb 2>/dev/null)
[ -f "$suite" ] && [ -f "$vmouse" ] || { fail "expected two packages, got: $(ls "$scratch/pkg")"; finish; exit; }

# Contents and control data.
contents=$(dpkg-deb -c "$suite" | awk '{print $NF}')
for f in ./usr/bin/Pallix ./usr/bin/Qx7Monitor ./usr/bin/pallixctl ./lib/udev/rules.d/70-pallix-ostrel.rules \
    ./etc/xdg/autostart/pallix-ostrel-monitor.desktop ./usr/share/applications/pallix-ostrel.desktop \
    ./usr/share/icons/hicolor/48x48/apps/pallix-ostrel.png ./usr/share/man/man1/Pallix.1; do
  printf '%s\n' "$contents" | grep -qxF "$f" || fail "$(basename "$suite") lacks $f"
done
printf '%s\n' "$contents" | grep -q 'libQx7Osd\.so$' || fail "$(basename "$suite") lacks libQx7Osd.so"
printf '%s\n' "$contents" | grep -q 'pallix-vmouse' && fail "the test tool is in the product's package"
vmouse_contents=$(dpkg-deb -c "$vmouse" | awk '{print $NF}')
printf '%s\n' "$vmouse_contents" | grep -qxF ./usr/bin/pallix-vmouse || fail "$(basename "$vmouse") lacks pallix-vmouse"
# Depends come from dpkg-shlibdeps, so they name the real libraries with versions.
depends=$(dpkg-deb -f "$suite" Depends)
for lib in libc6 libqt6widgets6 libhidapi-hidraw0 libsqlite3-0; do
  printf '%s\n' "$depends" | grep -qE "(^|, )$lib( \(>= [^)]+\))?(,|$)" || fail "Depends lacks $lib: $depends"
done
recommends=$(dpkg-deb -f "$suite" Recommends)
for font in fonts-dejavu-core fonts-liberation2 fonts-noto-cjk fonts-tlwg-loma-otf qt6-translations-l10n; do
  printf '%s\n' "$recommends" | grep -qE "(^|, )$font(,|$)" || fail "Recommends lacks $font: $recommends"
done
[ "$(dpkg-deb -I "$suite" conffiles 2>/dev/null)" = /etc/xdg/autostart/pallix-ostrel-monitor.desktop ] ||
  fail "the login entry is not a conffile"

# A scratch root with an empty dpkg database.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
tree() { (cd "$root" && find . -path ./var/lib/dpkg -prune -o -print | sort); }
before=$(tree)
# The root has no shell to chroot into, so the maintainer scripts (CPack's ldconfig
# call for the shared library) run outside it, and must not touch this machine:
# ldconfig is a stub here that only notes the call.
mkdir -p "$scratch/stubs"
printf '#!/bin/sh\necho "ldconfig $*" >>"%s/ldconfig.calls"\n' "$scratch" >"$scratch/stubs/ldconfig"
chmod +x "$scratch/stubs/ldconfig"
dpkg_root() {
  PATH="$scratch/stubs:$PATH" dpkg --root="$root" --log="$scratch/dpkg.log" --force-not-root --force-depends \
    --force-script-chrootless "$@" >>"$scratch/dpkg.out" 2>&1
}
dpkg_root -i "$suite" "$vmouse" || { cat "$scratch/dpkg.out" >&2; fail "dpkg -i"; finish; exit; }
for p in pallix-ostrel pallix-ostrel-vmouse; do
  dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' "$p" | grep -q 'install ok installed' || fail "$p is not installed"
done

# The installed programs run from there and find the installed files.
bin=$root/usr/bin
for p in Pallix Qx7Monitor pallixctl pallix-vmouse; do
  "$bin/$p" --help >/dev/null || fail "installed $p --help exited with $?"
  "$bin/$p" --version | grep -q "^$p " || fail "installed $p --version"
done
mkdir -p "$scratch/work" && cd "$scratch/work" || exit 1
"$bin/pallixctl" settings set Language 1031 --dword || fail "pallixctl settings set"
library=$(printf '%s\n' "$contents" | grep 'libQx7Osd\.so$' | sed 's|^\./|/|')
paths=$("$bin/Qx7Monitor" --print-paths)
for line in "configuration program: $bin/Pallix" "display library: $root$library" \
    "language file: $root/usr/share/pallix-ostrel/MonitorLanguages/German.txt"; do
  printf '%s\n' "$paths" | grep -qxF -- "$line" || fail "monitor: expected '$line' in:"$'\n'"$paths"
done

# Remove keeps only the conffile (and its folders); purge leaves the root as it was.
dpkg_root -r pallix-ostrel pallix-ostrel-vmouse || { cat "$scratch/dpkg.out" >&2; fail "dpkg -r"; }
left=$(diff <(printf '%s\n' "$before") <(tree) | sed -n 's/^> //p' | tr '\n' ' ')
[ "$left" = "./etc ./etc/xdg ./etc/xdg/autostart ./etc/xdg/autostart/pallix-ostrel-monitor.desktop " ] ||
  fail "after dpkg -r these are left: $left"
dpkg_root -P pallix-ostrel pallix-ostrel-vmouse || { cat "$scratch/dpkg.out" >&2; fail "dpkg -P"; }
[ "$before" = "$(tree)" ] || fail "after dpkg -P the root differs:"$'\n'"$(diff <(printf '%s\n' "$before") <(tree))"
finish
