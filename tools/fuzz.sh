#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for the given number of
# seconds (default 20), starting from the hand-written seeds in tests/fuzz/corpus/<target>/.
# Exits non-zero when any target crashes, leaks, hangs or trips a sanitizer; the input that did
# it is left in build-fuzz/fuzz-work/<target>/artifacts/.
#
#   tools/fuzz.sh [seconds] [target...]      (default: every target below)
set -euo pipefail

seconds=${1:-20}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
targets=(markup_fuzz values_fuzz builder_fuzz utf8_fuzz)
[ $# -gt 0 ] && targets=("$@")

mkdir -p "$root/build-logs"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
  -DKP_FUZZ=ON -DKP_SANITIZE=OFF -DKP_BUILD_TESTS=ON -DKP_VENDOR_HOST=localhost:18443 >"$root/build-logs/fuzz-configure.log" 2>&1 ||
  { cat "$root/build-logs/fuzz-configure.log"; exit 1; }
cmake --build "$build" -j2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  work="$build/fuzz-work/$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  args=(-max_total_time="$seconds" -timeout=10 -max_len=16384 -print_final_stats=1
        -artifact_prefix="$work/artifacts/")
  dict="$root/tests/fuzz/$target.dict"
  [ -f "$dict" ] && args+=(-dict="$dict")
  # New inputs go to the first folder (in the build tree); the seed folder is only read.
  if "$build/tests/fuzz/$target" "${args[@]}" "$work/corpus" "$root/tests/fuzz/corpus/$target" >"$work/log.txt" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$work/log.txt" | awk '{print $2}')
    echo "fuzz: $target passed ($seconds s, ${runs:-?} runs)"
  else
    echo "fuzz: $target FAILED; log: $work/log.txt"
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$work/log.txt" | head -20 || true
    status=1
  fi
done
exit $status
