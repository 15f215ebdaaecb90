#!/usr/bin/env bash
# Builds the 32-bit release KPSetup.exe and checks what it is: a PE32 GUI program for i386 that
# imports only Windows system DLLs (no MinGW runtime DLL beside it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build-i686"}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target KPSetup -j2 >/dev/null
exe="$build/app/KPSetup.exe"
kind=$(file -b "$exe")
echo "KPSetup.exe: $kind, $(stat -c %s "$exe") bytes"
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "FAIL: not a 32-bit GUI executable" >&2; exit 1 ;;
esac
allowed='^(kernel32|user32|gdi32|gdiplus|ole32|oleaut32|urlmon|wininet|shell32|shlwapi|comctl32|comdlg32|advapi32|imm32|msimg32|version|msvcrt|uxtheme|shcore)\.dll$'
bad=0
for dll in $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p'); do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if [[ ! "$lower" =~ $allowed ]]; then echo "FAIL: imports $dll" >&2; bad=1; fi
done
[ $bad = 0 ] && echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
exit $bad
