#!/usr/bin/env bash
# Makes the demo publisher's code-signing key and certificate, and a second, foreign publisher's,
# once per folder, and prints the pin of one of them: the SHA-256 of its certificate's DER
# SubjectPublicKeyInfo, the form KP_PACKAGE_SIGNER_SHA256 takes.
#   DIR/publisher.key, DIR/publisher.pem   "KPSetup Demo Publisher", signs the demo package
#   DIR/foreign.key, DIR/foreign.pem       "KPSetup Foreign Publisher", never pinned: for tests
# Usage: demo-signer.sh [DIR] [publisher|foreign]   (DIR defaults to .deps/demo-signer)
# The keys stay on this machine (the folder is ignored by git); a real release is signed by the
# vendor's own certificate and configured with its pin.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-$root/.deps/demo-signer}
which=${2:-publisher}
mkdir -p "$dir"
exec 8>"$dir/.lock"
flock 8
make_signer() {
  local name=$1 subject=$2
  [ -f "$dir/$name.pem" ] && return 0
  local tmp
  tmp=$(mktemp -d "$dir/tmp.XXXXXX")
  openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 -subj "/CN=$subject" \
    -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
    -addext "extendedKeyUsage=codeSigning" \
    -keyout "$tmp/$name.key" -out "$tmp/$name.pem" 2>/dev/null
  mv "$tmp/$name.key" "$dir/"
  mv "$tmp/$name.pem" "$dir/"   # last: its presence means the pair is complete
  rm -rf "$tmp"
}
make_signer publisher "KPSetup Demo Publisher"
make_signer foreign "KPSetup Foreign Publisher"
openssl x509 -in "$dir/$which.pem" -pubkey -noout | openssl pkey -pubin -outform DER | sha256sum | cut -d' ' -f1
