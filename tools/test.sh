#!/usr/bin/env bash
# Runs every test: native (sanitizers), short fuzz runs, the Windows build under Wine on a private
# Xvfb, the end-to-end tests again with the shipped 32-bit release KPSetup.exe, and the 32-bit
# release build check. Installs whatever is missing first.
# Ends with one line "N passed, N failed, N skipped" over all of them; exits non-zero if anything
# failed. The 32-bit runs are skipped, and said so, on a machine that cannot run 32-bit programs.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh || exit 1
. tools/xvfb.sh

passed=0
failed=0
skipped=0
# Adds the counts of a ctest summary line ("100% tests passed, 0 tests failed out of 12"). ctest
# counts a skipped test among those passed; it is listed as "(Skipped)" below "did not run".
tally_ctest() {
  local line total bad skip
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/')
  skip=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$1")
  passed=$((passed + total - bad - skip)); failed=$((failed + bad)); skipped=$((skipped + skip))
}
step() {  # step NAME COMMAND...: a non-ctest check counted as one test
  echo "== $1"; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi
}
logs="$root/build-logs"; mkdir -p "$logs"
# The vendor host compiled into every build here: the local test server's (tools/pkgserver.py).
vendor_host=localhost:18443
# The publisher whose signature the test builds accept: the demo package's (made once per checkout).
demo_signer=$(bash tools/demo-signer.sh) || { echo "tools/demo-signer.sh failed"; exit 1; }

echo "== native build and tests (address and undefined-behaviour sanitizers)"
if cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug -DKP_VENDOR_HOST="$vendor_host" >"$logs/native-configure.log" 2>&1 &&
   cmake --build build-native -j2 >"$logs/native-build.log" 2>&1; then
  (cd build-native && ctest -j2 --output-on-failure) 2>&1 | tee "$logs/native-ctest.log"
  tally_ctest "$logs/native-ctest.log"
else
  tail -n 40 "$logs"/native-*.log; failed=$((failed + 1))
fi

step "layering check (tools/check-layers.py)" python3 tools/check-layers.py
step "format check (tools/format.sh --check)" tools/format.sh --check

if [ -x tools/fuzz.sh ]; then
  step "fuzzers (short runs)" tools/fuzz.sh 15
fi

# The program users get: the 32-bit release KPSetup.exe, which the Windows build's end-to-end tests
# run too (as on 64-bit Windows). A failed build leaves no exe, and those tests then fail.
echo "== release build (i686) for the 32-bit end-to-end runs"
exe32="$root/build-i686/app/KPSetup.exe"
if ! { cmake -S . -B build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
         -DKP_BUILD_TESTS=OFF -DKP_VENDOR_HOST="$vendor_host" -DKP_PACKAGE_SIGNER_SHA256="$demo_signer" \
         >"$logs/i686-configure.log" 2>&1 &&
       cmake --build build-i686 --target KPSetup -j2 >"$logs/i686-build.log" 2>&1; }; then
  tail -n 40 "$logs"/i686-*.log
  rm -f "$exe32"
fi
if ! why32=$(bash tools/has-wine32.sh); then
  echo "32-bit: $why32; the end-to-end runs of the 32-bit KPSetup.exe are skipped"
fi

echo "== Windows build (x86_64) and tests under Wine"
if cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DKP_VENDOR_HOST="$vendor_host" \
     -DKP_E2E_EXE32="$exe32" >"$logs/win64-configure.log" 2>&1 &&
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

step "release build (i686)" tools/check-release.sh --vendor-host "$vendor_host" --signer "$demo_signer"

echo
[ -z "${why32:-}" ] || echo "32-bit: $why32; $skipped skipped"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
