#!/usr/bin/env bash
# Builds the 32-bit release KPSetup.exe and checks what it is: a PE32 GUI program for i386 that
# imports only DLLs that Windows never searches for (its known DLLs; no MinGW runtime DLL beside
# it), and no larger than its budget. Prints where its bytes go (code, resources, skin archive).
#   tools/check-release.sh --vendor-host HOST[:PORT] --signer SHA256[;...] [build folder (default build-i686)]
# The vendor host and the package signer's pin may come from the environment instead
# (KP_VENDOR_HOST=..., KP_PACKAGE_SIGNER_SHA256=...); both are required, so that a release is never
# built for a host or a publisher nobody chose.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
host=${KP_VENDOR_HOST:-}
signer=${KP_PACKAGE_SIGNER_SHA256:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --vendor-host) host=${2:-}; shift 2 || shift $# ;;
    --signer) signer=${2:-}; shift 2 || shift $# ;;
    *) break ;;
  esac
done
build=${1:-"$root/build-i686"}
# The largest exe we ship, in bytes: 1.5 MB, skin included.
budget=1500000
if [ -z "$host" ]; then
  echo "FAIL: no vendor host: pass --vendor-host HOST[:PORT] (or set KP_VENDOR_HOST), e.g." \
       "--vendor-host localhost:18443 for the local demo server" >&2
  exit 2
fi
if [ -z "$signer" ]; then
  echo "FAIL: no package signer: pass --signer SHA256[;SHA256...] (or set KP_PACKAGE_SIGNER_SHA256), e.g." \
       "--signer \"\$(tools/demo-signer.sh)\" for the demo package" >&2
  exit 2
fi
mkdir -p "$build"
if ! cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
     -DCMAKE_BUILD_TYPE=Release -DKP_VENDOR_HOST="$host" -DKP_BUILD_TESTS=OFF \
     -DKP_PACKAGE_SIGNER_SHA256="$signer" >"$build/check-release-configure.log" 2>&1; then
  cat "$build/check-release-configure.log" >&2
  exit 1
fi
if ! cmake --build "$build" --target KPSetup -j2 >"$build/check-release-build.log" 2>&1; then
  tail -n 40 "$build/check-release-build.log" >&2
  exit 1
fi
# The skin packer's warnings (an image that compresses badly) are shown, not buried in the log.
grep -E '^(packskin|skingen): (warning|WARNING)' "$build/check-release-build.log" >&2 || true
exe="$build/app/KPSetup.exe"
kind=$(file -b "$exe")
echo "KPSetup.exe: $kind, built for vendor host $host"
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "FAIL: not a 32-bit GUI executable" >&2; exit 1 ;;
esac
status=0
python3 "$root/tools/exe-split.py" "$exe" --skin "$build/skin/skin.zip" --budget "$budget" || status=1
# Only known DLLs may be imported (see check-imports.sh).
"$root/tools/check-imports.sh" i686-w64-mingw32-objdump "$exe" || status=1
exit $status
