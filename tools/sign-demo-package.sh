#!/usr/bin/env bash
# Signs the freshly linked demo setup package in place with the demo publisher's key, and makes
# beside it the copies that tests of the package check need:
#   KPCaptureSetup.exe            signed by the demo publisher (what the demo server serves)
#   KPCaptureSetup-unsigned.exe   as linked, no signature
#   KPCaptureSetup-tampered.exe   signed, then one byte of its code changed
#   KPCaptureSetup-foreign.exe    signed by the foreign publisher, whose key is never pinned
#   KPCaptureSetup.pin, KPCaptureSetup-foreign.pin   the two signers' pins
# Usage: sign-demo-package.sh SIGNER_DIR PACKAGE_EXE   (SIGNER_DIR as tools/demo-signer.sh makes it)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
signers=${1:?usage: sign-demo-package.sh SIGNER_DIR PACKAGE_EXE}
package=${2:?usage: sign-demo-package.sh SIGNER_DIR PACKAGE_EXE}
base=${package%.exe}
"$root/tools/demo-signer.sh" "$signers" publisher >"$base.pin"
"$root/tools/demo-signer.sh" "$signers" foreign >"$base-foreign.pin"

# The linker's output is unsigned; a package signed already (a rerun) is taken back to that first.
rm -f "$base-unsigned.exe"
if osslsigncode extract-signature -in "$package" -out "$base.sig.tmp" >/dev/null 2>&1; then
  osslsigncode remove-signature -in "$package" -out "$base-unsigned.exe" >/dev/null
else
  cp "$package" "$base-unsigned.exe"
fi
rm -f "$base.sig.tmp"
sign() {  # signer output
  rm -f "$2"
  osslsigncode sign -certs "$signers/$1.pem" -key "$signers/$1.key" -h sha256 \
    -n "凯普视频工坊" -in "$base-unsigned.exe" -out "$2" >/dev/null
}
sign foreign "$base-foreign.exe"
sign publisher "$base-tampered.exe"
# One byte in the middle of the first section's raw data: inside what the signature covers.
python3 - "$base-tampered.exe" <<'PY'
import struct, sys
with open(sys.argv[1], "r+b") as f:
    data = bytearray(f.read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    section = pe + 24 + optional_size
    raw_size, raw_offset = struct.unpack_from("<II", data, section + 16)
    at = raw_offset + raw_size // 2
    data[at] ^= 0x01
    f.seek(0)
    f.write(data)
PY
sign publisher "$base.signed.tmp"
mv "$base.signed.tmp" "$package"
