#!/usr/bin/env bash
# Exits 0 when 32-bit Windows programs run here under Wine (as on 64-bit Windows): the kernel runs
# 32-bit x86 programs and 32-bit Wine is installed. Otherwise prints why on one line and exits 1.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! bash "$root/tools/has-ia32.sh"; then
  echo "this machine's kernel cannot run 32-bit programs, so 32-bit Wine cannot run here"
  exit 1
fi
if [ ! -x /usr/lib/wine/wine ]; then
  echo "32-bit Wine (Debian package wine32:i386) is not installed; tools/setup.sh installs it"
  exit 1
fi
exit 0
