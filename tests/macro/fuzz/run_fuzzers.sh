#!/usr/bin/env bash
# Builds the macro fuzzers with clang (a separate small CMake project) and runs
# each for a few seconds. Usage: run_fuzzers.sh SOURCE_ROOT WORK_DIR SECONDS
set -euo pipefail
root=$1 work=$2 seconds=${3:-3}
here=$root/tests/macro/fuzz
cxx=${PALLIX_FUZZ_CXX:-clang++-14}
command -v "$cxx" >/dev/null || { echo "$cxx not found (apt-get install clang-14 libclang-rt-14-dev)" >&2; exit 1; }

# The main build's sanitizer settings must not leak into this one.
unset CXXFLAGS LDFLAGS
if [ ! -f "$work/build/CMakeCache.txt" ]; then
  cmake -S "$here/standalone" -B "$work/build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE= -DPALLIX_ROOT="$root" >/dev/null
fi
cmake --build "$work/build" -j2 >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in decode file; do
  binary=$work/build/fuzz_$([ $target = file ] && echo macro_file || echo decode)
  corpus=$work/corpus_$target
  mkdir -p "$corpus"
  echo "== fuzzing $target for ${seconds}s"
  "$binary" -max_total_time="$seconds" -max_len=600 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target-" "$corpus" "$here/seeds/$target" 2>"$work/$target.log" || status=1
  grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Test unit written" "$work/$target.log" || true
  [ $status -eq 0 ] || { tail -40 "$work/$target.log"; exit 1; }
done
