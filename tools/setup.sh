#!/usr/bin/env bash
# Installs what building and testing KPSetup needs on a Debian 12 machine (run as root).
# Quick when everything is already there: it only asks apt when a command or file is missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps="$root/.deps"

# command-or-file -> Debian package
need=(
  "/usr/bin/x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix"
  "/usr/bin/i686-w64-mingw32-g++-posix:g++-mingw-w64-i686-posix"
  "/usr/bin/x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64"
  "/usr/bin/i686-w64-mingw32-windres:binutils-mingw-w64-i686"
  "/usr/bin/gendef:mingw-w64-tools"
  "/usr/lib/wine/wine64:wine64"
  "/usr/bin/wine:wine"
  "/usr/bin/Xvfb:xvfb"
  "/usr/bin/xdotool:xdotool"
  "/usr/bin/convert:imagemagick"
  "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc:fonts-wqy-microhei"
  "/usr/x86_64-w64-mingw32/lib/libz.a:libz-mingw-w64-dev"
  "/usr/include/stb/stb_image.h:libstb-dev"
  "/usr/src/googletest/CMakeLists.txt:googletest"
  "/usr/include/benchmark/benchmark.h:libbenchmark-dev"
  "/usr/bin/python3:python3"
  "/usr/lib/python3/dist-packages/numpy/__init__.py:python3-numpy"
  "/usr/bin/openssl:openssl"
  "/usr/bin/clang++:clang"
  "/usr/bin/clang-format-14:clang-format-14"
  "/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a:libclang-rt-14-dev"
  "/usr/bin/cmake:cmake"
  "/usr/bin/g++:g++"
  "/usr/bin/dpkg-source:dpkg-dev"
  "/usr/bin/file:file"
  "/usr/bin/osslsigncode:osslsigncode"
  "/usr/lib/python3/dist-packages/PIL/Image.py:python3-pil"
  "/usr/bin/zopflipng:zopfli"
)
missing=()
for pair in "${need[@]}"; do
  path=${pair%%:*}; pkg=${pair#*:}
  [ -e "$path" ] || missing+=("$pkg")
done

export DEBIAN_FRONTEND=noninteractive
updated=0
apt_update() { [ $updated = 1 ] || { apt-get update -qq; updated=1; }; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine, so the 32-bit release exe runs as on 64-bit Windows (WoW64). Only where the kernel
# runs 32-bit programs: tools/has-ia32.sh tells; elsewhere the 32-bit runs are reported as skipped.
if [ ! -e /usr/lib/wine/wine ] || ! dpkg -s wine32:i386 >/dev/null 2>&1; then
  if bash "$root/tools/has-ia32.sh"; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
      updated=0
    fi
    echo "setup: installing wine32:i386"
    apt_update
    apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null
  else
    echo "setup: this machine cannot run 32-bit programs; 32-bit Wine is not installed"
  fi
fi

# minizip is not packaged for MinGW: build its unzip part from Debian's zlib sources for both targets.
if [ ! -f "$deps/minizip/x86_64-w64-mingw32/libminizip.a" ] || [ ! -f "$deps/minizip/i686-w64-mingw32/libminizip.a" ]; then
  src=$(ls -d "$deps"/src/zlib-*/contrib/minizip 2>/dev/null | head -n 1 || true)
  if [ -z "$src" ]; then
    if [ ! -f /etc/apt/sources.list.d/kpsetup-src.sources ]; then
      cat > /etc/apt/sources.list.d/kpsetup-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
      updated=0
    fi
    apt_update
    mkdir -p "$deps/src"
    (cd "$deps/src" && apt-get source -qq zlib >/dev/null 2>&1)
    src=$(ls -d "$deps"/src/zlib-*/contrib/minizip | head -n 1)
  fi
  for t in x86_64-w64-mingw32 i686-w64-mingw32; do
    out="$deps/minizip/$t"
    mkdir -p "$out/include/minizip"
    cp "$src"/unzip.h "$src"/ioapi.h "$out/include/minizip/"
    for f in unzip ioapi; do
      "$t-gcc-posix" -O2 -c "$src/$f.c" -I"$src" -o "$out/$f.o"
    done
    rm -f "$out/libminizip.a"
    "$t-gcc-ar-posix" rcs "$out/libminizip.a" "$out/unzip.o" "$out/ioapi.o"
  done
  # Native copy for tests and fuzzing on Linux (system zlib headers are enough there).
  out="$deps/minizip/native"
  mkdir -p "$out/include/minizip"
  cp "$src"/unzip.h "$src"/ioapi.h "$out/include/minizip/"
  for f in unzip ioapi; do gcc -O2 -fPIC -c "$src/$f.c" -I"$src" -o "$out/$f.o"; done
  rm -f "$out/libminizip.a"; ar rcs "$out/libminizip.a" "$out/unzip.o" "$out/ioapi.o"
fi
# native zlib headers for the native minizip
if [ ! -f /usr/include/zlib.h ]; then apt_update; apt-get install -y -qq zlib1g-dev >/dev/null; fi
echo "setup: ready"
