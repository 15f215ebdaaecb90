#!/usr/bin/env bash
# Measures the downloader against the local HTTPS server: a 50 MB package throttled to 20 MB/s,
# whose ideal transfer takes 2.5 s. Prints the measured time divided by that ideal.
# Usage: tools/bench-download.sh [BUILD_DIR]   (a MinGW x86_64 build folder; default build-bench)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
python=/usr/bin/python3
[ -x "$python" ] || python=python3
size=50000000
rate=20000000
ideal=2.5

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DKP_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target kp_download_bench kp_trust_test_ca -j2 >/dev/null
build=$(cd "$build" && pwd)
"$root/tools/make-test-ca.sh" "$build/testca"
"$root/tools/trust-test-ca.sh" "$build" "$build/testca/ca.pem" >/dev/null

data=$(mktemp -d "$build/bench.XXXXXX")
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$data"
}
trap cleanup EXIT
# A real executable carrying a payload after its sections, exactly $size bytes long.
cp "$build/tools/kp_trust_test_ca.exe" "$data/small.exe"
cp "$data/small.exe" "$data/package.exe"
truncate -s "$size" "$data/package.exe"

"$python" "$root/tools/pkgserver.py" --cert "$build/testca/server.pem" --key "$build/testca/server.key" \
  --port 0 --port-file "$data/port" --lifetime 300 \
  --serve "/package.exe=$data/package.exe,rate=$rate" --serve "/small.exe=$data/small.exe" >/dev/null &
server_pid=$!
for _ in $(seq 1 200); do [ -f "$data/port" ] && break; sleep 0.05; done
port=$(cat "$data/port")

save="Z:${data//\//\\}\\saved.exe"
bench() { "$build/wine-run.sh" "$build/tools/kp_download_bench.exe" "$save" "$@" </dev/null; }
small="https://localhost:$port/small.exe"
package="https://localhost:$port/package.exe"
bench "$small" >/dev/null  # starts Wine's services

# As in the installer: the package is the first download of a fresh process, which also pays for
# loading the TLS stack and the certificate stores.
cold=$(bench "$package")
# The transfer alone: the same download after a first small one in the same process.
warm=$(bench "$small" "$package" | tail -n 1)
ratio() { "$python" -c "import sys; print('%.2f' % (float(sys.argv[1].split()[0]) / $ideal))" "$1"; }
echo "50 MB at 20 MB/s, first download of a process:  $cold"
echo "50 MB at 20 MB/s, after a first small download: $warm"
echo "measured / ideal 2.5 s: $(ratio "$cold") (first download), $(ratio "$warm") (transfer alone)"
