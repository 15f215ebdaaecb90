#!/usr/bin/env bash
# Runs every test: native (sanitizers), short fuzz runs, the Windows build under Wine on a private
# Xvfb, and the 32-bit release build check. Installs whatever is missing first.
# Ends with one line "N passed, N failed" over all of them; exits non-zero if anything failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh || exit 1
. tools/xvfb.sh

passed=0
failed=0
# Adds the counts of a ctest summary line ("100% tests passed, 0 tests failed out of 12").
tally_ctest() {
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad)); failed=$((failed + bad))
}
step() {  # step NAME COMMAND...: a non-ctest check counted as one test
  echo "== $1"; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi
}
logs="$root/build-logs"; mkdir -p "$logs"

echo "== native build and tests (address and undefined-behaviour sanitizers)"
if cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug >"$logs/native-configure.log" 2>&1 &&
   cmake --build build-native -j2 >"$logs/native-build.log" 2>&1; then
  (cd build-native && ctest -j2 --output-on-failure) 2>&1 | tee "$logs/native-ctest.log"
  tally_ctest "$logs/native-ctest.log"
else
  tail -n 40 "$logs"/native-*.log; failed=$((failed + 1))
fi

step "layering check (tools/check-layers.py)" python3 tools/check-layers.py

if [ -x tools/fuzz.sh ]; then
  step "fuzzers (short runs)" tools/fuzz.sh 15
fi

echo "== Windows build (x86_64) and tests under Wine"
if cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >"$logs/win64-configure.log" 2>&1 &&
   cmake --build build-win64 -j2 >"$logs/win64-build.log" 2>&1; then
  kp_start_xvfb || exit 1
  trap 'kp_stop_xvfb; WINEPREFIX="$root/build-win64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null' EXIT
  (cd build-win64 && ctest --output-on-failure) 2>&1 | tee "$logs/win64-ctest.log"
  tally_ctest "$logs/win64-ctest.log"
  WINEPREFIX="$root/build-win64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null
  kp_stop_xvfb
else
  tail -n 40 "$logs"/win64-*.log; failed=$((failed + 1))
fi

step "release build (i686)" tools/check-release.sh

echo
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
