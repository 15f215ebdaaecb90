#!/usr/bin/env bash
# Makes a certificate authority for local tests and a "localhost" server certificate signed by it:
#   DIR/ca.pem, DIR/ca.key, DIR/server.pem, DIR/server.key
# Does nothing when they exist. The CA is meant to be trusted only inside a test Wine prefix
# (tools/trust-test-ca.sh), never by the system.
set -euo pipefail
dir=${1:?usage: make-test-ca.sh DIR}
mkdir -p "$dir"
exec 8>"$dir/.lock"
flock 8
[ -f "$dir/server.pem" ] && [ -f "$dir/ca.pem" ] && exit 0
tmp=$(mktemp -d "$dir/tmp.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
  -subj "/CN=KPSetup Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$tmp/ca.key" -out "$tmp/ca.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=localhost" \
  -keyout "$tmp/server.key" -out "$tmp/server.csr" 2>/dev/null
cat >"$tmp/server.ext" <<'EXT'
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=DNS:localhost
EXT
openssl x509 -req -in "$tmp/server.csr" -CA "$tmp/ca.pem" -CAkey "$tmp/ca.key" -CAcreateserial \
  -days 3650 -sha256 -extfile "$tmp/server.ext" -out "$tmp/server.pem" 2>/dev/null
mv "$tmp/ca.key" "$tmp/ca.pem" "$tmp/server.key" "$dir/"
mv "$tmp/server.pem" "$dir/"   # last: its presence means the set is complete
