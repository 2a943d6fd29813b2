#!/usr/bin/env bash
# Builds one libFuzzer target with clang 14 and runs it for a few seconds.
# usage: run-fuzz.sh NAME WORK_DIR OBJECT_DIR SECONDS MAX_LEN SEEDS_DIR|- SOURCE...
# Objects are kept in OBJECT_DIR, shared by the targets that compile the same source.
# Exit 77 (test skipped) when clang 14 is not installed.
set -uo pipefail
name=$1 work=$2 objdir=$3 seconds=$4 max_len=$5 seeds=$6
shift 6
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cxx=${PALLIX_FUZZ_CXX:-clang++-14}
command -v "$cxx" >/dev/null || { echo "$cxx not installed: $name skipped"; exit 77; }

# The main build's compiler and sanitizer settings must not leak into this one.
unset CXXFLAGS LDFLAGS ASAN_OPTIONS UBSAN_OPTIONS
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=undefined -I "$root")
mkdir -p "$work/corpus" "$objdir"
binary=$work/$name

# stale OBJECT DEPFILE: missing, or older than anything it was built from.
stale() {
  [ -f "$1" ] && [ -f "$2" ] || return 0
  local d
  for d in $(sed -e 's/^[^:]*://' -e 's/\\$//' "$2"); do [ "$d" -nt "$1" ] && return 0; done
  return 1
}

objects=()
for source in "$@"; do
  key=$(realpath --relative-to="$root" "$source" | tr '/' '_')
  object=$objdir/${key%.*}.o
  # One compiler per object: a target that needs it too waits and finds it built.
  (
    flock 9
    if stale "$object" "$object.d"; then
      echo "== compiling $source"
      "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -MMD -MF "$object.d" \
        -c "$source" -o "$object" || { rm -f "$object" "$object.d"; exit 1; }
    fi
  ) 9>"$object.lock" || exit 1
  objects+=("$object")
done
for object in "${objects[@]}"; do
  if [ ! -x "$binary" ] || [ "$object" -nt "$binary" ]; then
    "$cxx" "${flags[@]}" -fsanitize=fuzzer,address,undefined "${objects[@]}" -o "$binary" || exit 1
    break
  fi
done

corpora=("$work/corpus")
[ "$seeds" != - ] && corpora+=("$seeds")
echo "== fuzzing $name for ${seconds}s"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$binary" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/" "${corpora[@]}" >"$work/log" 2>&1
status=$?
grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Test unit written" "$work/log"
[ $status -eq 0 ] || { tail -40 "$work/log"; exit 1; }
