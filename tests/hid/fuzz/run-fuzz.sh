#!/usr/bin/env bash
# Builds the protocol fuzz target with clang (libFuzzer) and runs it briefly.
# usage: run-fuzz.sh SOURCE_DIR OUTPUT_DIR   (exit 77: no clang, test skipped)
set -euo pipefail
src=$1 out=$2
clang=$(command -v clang++-14 || command -v clang++ || true)
[ -n "$clang" ] || { echo "clang++ not installed: fuzz run skipped"; exit 77; }
mkdir -p "$out/corpus"
sources=("$src/tests/hid/fuzz/VirtualHidFuzz.cpp" "$src/platform/VirtualHidProtocol.cpp"
         "$src/tools/vmouse/VirtualMouse.cpp" "$src/device/Defaults.cpp")
binary="$out/virtual-hid-fuzz"
rebuild=0
[ -x "$binary" ] || rebuild=1
for f in "${sources[@]}" "$src"/platform/VirtualHidProtocol.h "$src"/tools/vmouse/VirtualMouse.h; do
  [ "$f" -nt "$binary" ] && rebuild=1
done
if [ $rebuild -eq 1 ]; then
  "$clang" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$src" "${sources[@]}" -o "$binary"
fi
# Seeds: one well-formed packet of each kind.
printf '\x01\x01' > "$out/corpus/hello"
printf '\x02\x00\xdf\xba\x00\x00\x00\x00\x00\x00' > "$out/corpus/read"
printf '\x02\x00\xc4\x07\x02\x00\x00\x00\x00\x00' > "$out/corpus/control"
printf '\x03\x00\x09' > "$out/corpus/get"
printf '\x81\x09\x12\x01\x00\x02\x18\x01\x01\x01\x00\x02\x00\x01m' > "$out/corpus/info"
ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time=3 -max_len=300 -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" 2>&1 | tail -n 5
