#!/usr/bin/env bash
# Runs a Windows test program under Wine with a local HTTPS package server beside it.
# Usage: with-pkgserver.sh BUILD_DIR TEST_EXE [ARGS...]
#
# The server (tools/pkgserver.py) listens on a free port of 127.0.0.1 with a "localhost" certificate
# from a test CA that only this build's Wine prefix trusts. The test learns about it from
#   KP_TEST_SERVER_PORT    the server's port
#   KP_TEST_REFUSED_PORT   a port where nothing listens
#   KP_TEST_SERVER_LOG     a file with one line per request ("GET /path"), as a Windows path
#   KP_TEST_PACKAGE        the file served as the package, as a Windows path
# Routes: /pkg.exe (the package), /spaced+name/%C3%A9t%C3%A9.exe (the same), /medium.exe and
# /slow.exe (a larger package, throttled to about 2 s and 16 s), /truncated.exe (the package cut off
# halfway), /empty.exe (no bytes), /stalled.exe (sends 1 MB of the larger one, then nothing),
# /status404.exe and /status500.exe (that status, with the package as the body), /endless.exe (no
# length announced, the package over and over at about 8 MB/s), /longer.exe (announces the package's
# length, then sends the package and 1 MB more); everything else is 404.
set -euo pipefail
build=$(cd "${1:?usage: with-pkgserver.sh BUILD_DIR TEST_EXE [ARGS...]}" && pwd)
shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
python=/usr/bin/python3
[ -x "$python" ] || python=python3
windows_path() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

"$root/tools/make-test-ca.sh" "$build/testca"
"$root/tools/trust-test-ca.sh" "$build" "$build/testca/ca.pem" >/dev/null

data=$(mktemp -d "$build/pkgserver.XXXXXX")
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$data"
}
trap cleanup EXIT

# The package is a real Windows executable: the trust helper itself. The larger one carries a
# payload after its sections, as installers do.
cp "$build/tools/kp_trust_test_ca.exe" "$data/package.exe"
cp "$data/package.exe" "$data/large.exe"
head -c $((4 * 1024 * 1024)) /dev/zero >>"$data/large.exe"
: >"$data/empty.exe"
size=$(stat -c %s "$data/package.exe")
cp "$data/package.exe" "$data/longer.exe"
head -c $((1024 * 1024)) /dev/urandom >>"$data/longer.exe"

refused_port=$("$python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')
"$python" "$root/tools/pkgserver.py" --cert "$build/testca/server.pem" --key "$build/testca/server.key" \
  --port 0 --port-file "$data/port" --log "$data/requests.log" --lifetime 300 \
  --serve "/pkg.exe=$data/package.exe" \
  --serve "/spaced+name/%C3%A9t%C3%A9.exe=$data/package.exe" \
  --serve "/medium.exe=$data/large.exe,rate=2000000" \
  --serve "/slow.exe=$data/large.exe,rate=250000" \
  --serve "/truncated.exe=$data/package.exe,truncate=$((size / 2))" \
  --serve "/empty.exe=$data/empty.exe" \
  --serve "/stalled.exe=$data/large.exe,stall=1000000" \
  --serve "/status404.exe=$data/package.exe,status=404" \
  --serve "/status500.exe=$data/package.exe,status=500" \
  --serve "/endless.exe=$data/package.exe,endless=1,rate=8000000" \
  --serve "/longer.exe=$data/longer.exe,announce=$size" >/dev/null &
server_pid=$!
for _ in $(seq 1 200); do
  [ -f "$data/port" ] && break
  kill -0 "$server_pid" 2>/dev/null || { echo "pkgserver did not start" >&2; exit 1; }
  sleep 0.05
done
[ -f "$data/port" ] || { echo "pkgserver did not start in time" >&2; exit 1; }
: >"$data/requests.log"

export KP_TEST_SERVER_PORT=$(cat "$data/port")
export KP_TEST_REFUSED_PORT=$refused_port
export KP_TEST_SERVER_LOG=$(windows_path "$data/requests.log")
export KP_TEST_PACKAGE=$(windows_path "$data/package.exe")
set +e
"$build/wine-run.sh" "$@" </dev/null
code=$?
set -e
exit $code
