#!/usr/bin/env bash
# Measures the package check on a 50 MB package signed by the demo publisher, under Wine: how long
# opening it, checking its structure, verifying its Authenticode signature and its signer take.
# KP_BENCH_ROUNDS (default 5) sets the number of rounds.
# Usage: tools/bench-verify.sh [BUILD_DIR]   (a MinGW x86_64 build folder; default build-bench)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
size=50000000
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DKP_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target kp_verify_bench kp_trust_test_ca -j2 >/dev/null
build=$(cd "$build" && pwd)
signers="$root/.deps/demo-signer"
pin=$("$root/tools/demo-signer.sh" "$signers")

data=$(mktemp -d "$build/verify-bench.XXXXXX")
trap 'rm -rf "$data"' EXIT
# A real executable carrying a payload after its sections, as installers do, then signed.
cp "$build/tools/kp_trust_test_ca.exe" "$data/unsigned.exe"
truncate -s "$size" "$data/unsigned.exe"
osslsigncode sign -certs "$signers/publisher.pem" -key "$signers/publisher.key" -h sha256 \
  -in "$data/unsigned.exe" -out "$data/package.exe" >/dev/null
echo "package: $(stat -c %s "$data/package.exe") bytes, signed by the demo publisher"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/wine-run.sh" "$build/tools/kp_verify_bench.exe" "Z:${data//\//\\}\\package.exe" "$pin" \
  "${KP_BENCH_ROUNDS:-5}" </dev/null
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
