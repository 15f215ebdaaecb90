#!/usr/bin/env bash
# Builds the 32-bit release KPSetup.exe and checks what it is: a PE32 GUI program for i386 that
# imports only DLLs that Windows never searches for (its known DLLs; no MinGW runtime DLL beside it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build-i686"}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKP_BUILD_TESTS=OFF \
  -DKP_PACKAGE_SIGNER_SHA256="$("$root/tools/demo-signer.sh")" >/dev/null
cmake --build "$build" --target KPSetup -j2 >/dev/null
exe="$build/app/KPSetup.exe"
kind=$(file -b "$exe")
echo "KPSetup.exe: $kind, $(stat -c %s "$exe") bytes"
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "FAIL: not a 32-bit GUI executable" >&2; exit 1 ;;
esac
# Only known DLLs may be imported (see check-imports.sh).
exec "$root/tools/check-imports.sh" i686-w64-mingw32-objdump "$exe"
