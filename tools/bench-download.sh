#!/usr/bin/env bash
# Measures the downloader against the local HTTPS server: a 50 MB package throttled to 20 MB/s,
# whose ideal transfer takes 2.5 s. Prints each measured time divided by that ideal, for a cold
# process, for one whose download stack the installer's warm-up has readied, and for the transfer alone.
# KP_BENCH_ROUNDS (default 3) sets the number of rounds.
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

rounds=${KP_BENCH_ROUNDS:-3}
first_line() { grep -E ' seconds, .* result ' | sed -n "${1}p"; }
ratio() { "$python" -c "import sys; print('%.3f' % (float(sys.argv[1].split()[0]) / $ideal))" "$1"; }
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "where a fresh process's first download spends its fixed cost (each warm-up step timed alone):"
bench --steps "$small" | grep '^step' | sed 's/^step /  /'
for round in $(seq 1 "$rounds"); do
  # Cold: the package is the first download of a fresh process, which also pays for loading the
  # TLS stack and the certificate stores.
  cold=$(bench "$package" | first_line 1)
  # What the user gets: the installer warms the download stack up while the welcome page is shown;
  # the warm-up is let finish, then Start to completion is timed.
  warmed=$(bench --warm-up "$package")
  warmup=$(echo "$warmed" | sed -n 's/^warm-up: \([0-9.]*\) seconds/\1/p')
  warm=$(echo "$warmed" | first_line 1)
  # The transfer alone: the same download after a first small one in the same process.
  alone=$(bench "$small" "$package" | first_line 2)
  echo "round $round: cold $(ratio "$cold") ($cold)"
  echo "round $round: warm $(ratio "$warm") (warm-up ${warmup} s before; $warm)"
  echo "round $round: transfer alone $(ratio "$alone") ($alone)"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "ratios are measured time / ideal $ideal s (50 MB at 20 MB/s); the goal is at most 1.05"
