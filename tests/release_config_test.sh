#!/usr/bin/env bash
# A release build must name its vendor host and its package signer: configuring one without
# KP_VENDOR_HOST stops with a message that says what to pass, also in a folder that an earlier test
# configuration filled with the local demo server's default; so does one without
# KP_PACKAGE_SIGNER_SHA256, or with a pin that is not 64 hexadecimal digits. With both given, the
# build uses them.
#   release_config_test.sh SOURCE_DIR
set -uo pipefail
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
configure() { cmake -S "$src" -B "$work/$1" -DKP_BUILD_TESTS=OFF "${@:2}" >"$work/$1.log" 2>&1; }
cached_host() { sed -n 's/^KP_VENDOR_HOST:STRING=//p' "$work/$1/CMakeCache.txt"; }

if configure release -DCMAKE_BUILD_TYPE=Release; then
  fail "a Release configuration without KP_VENDOR_HOST succeeded"
elif ! grep -q 'KP_VENDOR_HOST is not set' "$work/release.log" || ! grep -q -- '-DKP_VENDOR_HOST=' "$work/release.log"; then
  fail "the message does not say that KP_VENDOR_HOST is missing and how to pass it:"; cat "$work/release.log"
fi

if ! configure minsize -DCMAKE_BUILD_TYPE=MinSizeRel -DKP_VENDOR_HOST=; then
  grep -q 'KP_VENDOR_HOST is not set' "$work/minsize.log" || fail "MinSizeRel with an empty host: no clear message"
else
  fail "a MinSizeRel configuration with an empty KP_VENDOR_HOST succeeded"
fi

if ! configure reused -DCMAKE_BUILD_TYPE=Debug; then
  fail "a Debug configuration without KP_VENDOR_HOST failed"; cat "$work/reused.log"
else
  [ "$(cached_host reused)" = "localhost:18443" ] || fail "Debug default host is '$(cached_host reused)'"
  if configure reused -DCMAKE_BUILD_TYPE=Release; then
    fail "a Release configuration reusing a test folder's default host succeeded"
  fi
fi

pin=0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF
if configure unsigned -DCMAKE_BUILD_TYPE=Release -DKP_VENDOR_HOST=download.example.com; then
  fail "a Release configuration without KP_PACKAGE_SIGNER_SHA256 succeeded"
elif ! grep -q -- '-DKP_PACKAGE_SIGNER_SHA256=' "$work/unsigned.log"; then
  fail "the message does not say how to pass the signer's pin:"; cat "$work/unsigned.log"
fi
if configure shortpin -DCMAKE_BUILD_TYPE=Release -DKP_VENDOR_HOST=download.example.com \
     "-DKP_PACKAGE_SIGNER_SHA256=$pin;abc"; then
  fail "a pin of three digits was accepted"
fi

if ! configure named -DCMAKE_BUILD_TYPE=Release -DKP_VENDOR_HOST=download.example.com "-DKP_PACKAGE_SIGNER_SHA256=$pin"; then
  fail "a Release configuration with KP_VENDOR_HOST failed"; cat "$work/named.log"
else
  [ "$(cached_host named)" = "download.example.com" ] || fail "the named host was not kept: '$(cached_host named)'"
fi

[ $failures = 0 ] && echo "release configurations: all checks passed"
exit $((failures > 0))
