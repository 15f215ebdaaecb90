#!/usr/bin/env bash
# Checks that a built KPSetup.exe imports only DLLs that Windows maps from its KnownDLLs list on
# every supported version (Vista to 10). The loader never searches for those, so no copy planted
# beside the program (say, in a Downloads folder) can take their place. Every other system DLL
# (gdiplus, urlmon, wininet, comctl32, msimg32, version, uxtheme, shcore, ...) must be loaded at
# run time with its full path in the system folder.
#   check-imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1
exe=$2
known='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|shlwapi|comdlg32|imm32|msvcrt)\.dll$'
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "FAIL: no import table read from $exe" >&2; exit 1; }
bad=0
for dll in $imports; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if [[ ! "$lower" =~ $known ]]; then echo "FAIL: imports $dll (not a known DLL: load it at run time)" >&2; bad=1; fi
done
[ $bad = 0 ] && echo "imports: $(echo $imports)"
exit $bad
