#!/usr/bin/env bash
# `cmake --install --prefix OTHER` gives a working installation: every file in its
# folder and nothing outside the prefix, no build-tree RUNPATH, the programs find
# their files from where they lie, and --help / the man pages cover what they parse.
#   PALLIX_BINDIR=bin PALLIX_LIBDIR=lib PALLIX_DATADIR=share PALLIX_MANDIR=share/man \
#     install_prefix.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 src=$2
source "$(dirname "$0")/lib.sh"
scratch_dir
private_env
# The folders below the prefix, as the build was configured (GNUInstallDirs).
bindir=$PALLIX_BINDIR libdir=$PALLIX_LIBDIR datadir=$PALLIX_DATADIR mandir=$PALLIX_MANDIR
prefix=$scratch/other
bin=$prefix/$bindir data=$prefix/$datadir/pallix-ostrel

for component in suite vmouse; do
  if ! cmake --install "$build" --prefix "$prefix" --component "$component" >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log" >&2
    fail "cmake --install of $component"
    finish; exit
  fi
  outside=$(grep -v "^$prefix/" "$build/install_manifest_$component.txt")
  [ -z "$outside" ] || fail "$component installed outside the prefix: $outside"
done

# The layout.
for f in "$bindir/Pallix" "$bindir/Qx7Monitor" "$bindir/pallixctl" "$bindir/pallix-vmouse" \
    "$libdir/libQx7Osd.so" lib/udev/rules.d/70-pallix-ostrel.rules \
    etc/xdg/autostart/pallix-ostrel-monitor.desktop "$datadir/applications/pallix-ostrel.desktop" \
    "$datadir/pallix-ostrel/Languages/German.txt" "$datadir/pallix-ostrel/HELP/Information_en.html" \
    "$datadir/pallix-ostrel/MonitorLanguages/German.txt" \
    "$mandir/man1/Pallix.1" "$mandir/man1/Qx7Monitor.1" "$mandir/man1/pallixctl.1" "$mandir/man1/pallix-vmouse.1"; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
# Every language file and help document of the source tree, byte for byte.
for dir in Languages HELP MonitorLanguages; do
  for f in "$src/resources/$dir"/*; do
    name=$(basename "$f")
    cmp -s "$f" "$data/$dir/$name" || fail "not installed as shipped: $dir/$name"
  done
done
for p in Pallix Qx7Monitor pallixctl pallix-vmouse; do [ -x "$bin/$p" ] || fail "$p is not executable"; done
# Icons: a PNG of the size its folder names (width and height are bytes 16-23).
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/$datadir/icons/hicolor/${size}x${size}/apps/pallix-ostrel.png
  header=$(od -An -tx1 -N24 "$icon" 2>/dev/null | tr -d ' \n')
  expected=$(printf '89504e470d0a1a0a%.0s' 1)
  dims=$(printf '%08x%08x' "$size" "$size")
  [ "${header:0:16}" = "$expected" ] && [ "${header:32:16}" = "$dims" ] || fail "icon ${size}x${size} is not a ${size}x${size} PNG"
done

# Installed programs must not point back into the build tree (or anywhere but beside themselves).
for f in "$bin"/* "$prefix/$libdir/libQx7Osd.so"; do
  paths=$(readelf -d "$f" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p' | tr ':' '\n' | grep -v '^\$ORIGIN')
  [ -z "$paths" ] || fail "$(basename "$f") has a run path outside \$ORIGIN: $paths"
done

# The programs find the installed files from their own folder (the work folder is empty,
# so nothing comes from the current directory).
mkdir -p "$scratch/work" && cd "$scratch/work" || exit 1
"$bin/pallixctl" settings set Language 1031 --dword || fail "pallixctl settings set"
expect_line() {  # expect_line OUTPUT LINE WHAT
  printf '%s\n' "$1" | grep -qxF -- "$2" || fail "$3: expected '$2' in:"$'\n'"$1"
}
paths=$("$bin/Qx7Monitor" --print-paths) || fail "Qx7Monitor --print-paths exited with $?"
expect_line "$paths" "configuration program: $bin/Pallix" "monitor"
expect_line "$paths" "display library: $prefix/$libdir/libQx7Osd.so" "monitor"
expect_line "$paths" "language file: $data/MonitorLanguages/German.txt" "monitor"
paths=$(LC_ALL=de_DE.UTF-8 "$bin/Pallix" --print-paths) || fail "Pallix --print-paths exited with $?"
expect_line "$paths" "language file: $data/Languages/German.txt" "Pallix"
expect_line "$paths" "help document: $data/HELP/Information_de.html" "Pallix"
# ... and only there: without the library the monitor says so.
mv "$prefix/$libdir/libQx7Osd.so" "$scratch/libQx7Osd.so"
expect_line "$("$bin/Qx7Monitor" --print-paths)" "display library: not found" "monitor without the library"
mv "$scratch/libQx7Osd.so" "$prefix/$libdir/libQx7Osd.so"

# --help and the man pages name every option and command word the parsers know.
man=$prefix/$mandir/man1
check_program "$bin/Pallix" "$man/Pallix.1" --help --version --print-paths $(parsed_words "$src" app/main.cpp app/QX7App.h)
check_program "$bin/Qx7Monitor" "$man/Qx7Monitor.1" --help --version --print-paths $(parsed_words "$src" monitor/main.cpp)
check_program "$bin/pallixctl" "$man/pallixctl.1" --help --version $(parsed_words "$src" $(cd "$src" && ls cli/*.cpp))
check_program "$bin/pallix-vmouse" "$man/pallix-vmouse.1" --help --version \
  $(parsed_words "$src" tools/vmouse/main.cpp tools/vmouse/MouseServer.cpp)
# Every sub-command pallixctl registers is in its man page (its --help lists the registry).
commands=$(cat "$src"/cli/*.cpp | perl -0777 -ne 'print "$1\n" while /RegisterCommand\s+\w+[\s({]+(?:Command[\s{]+)?"([a-z-]+)"/g')
[ "$(printf '%s\n' "$commands" | wc -w)" -ge 8 ] || fail "found only these pallixctl commands in the sources: $commands"
rendered=$(man_text "$man/pallixctl.1") help=$("$bin/pallixctl" --help)
for command in $commands; do
  has_word "$rendered" "$command" || fail "pallixctl man page does not mention '$command'"
  has_word "$help" "$command" || fail "pallixctl --help does not mention '$command'"
done
finish
