#!/usr/bin/env bash
# The main job: builds the 32-bit release KPSetup.exe, the file users get, and the demo setup package
# and application; serves the package from a local HTTPS server, and installs the demo product with
# that KPSetup.exe under Wine (as on 64-bit Windows): on your display when there is one (DISPLAY),
# otherwise on a private Xvfb. On a machine that cannot run 32-bit programs it says so and installs
# with the 64-bit test build of KPSetup.exe instead. The wizard is clicked through with xdotool and
# every page is saved as a picture; the folder is printed at the end. Installs whatever is missing
# first (run as root on Debian 12).
#
#   tools/demo.sh            clicks through: welcome, options, progress, completion, 立即体验
#   tools/demo.sh --manual   on your display: you click; the demo ends when the installer and the
#                            application have been closed
#
# The server listens on 127.0.0.1 only, with a "localhost" certificate from a CA made for the demo
# and trusted only inside the demo's own Wine prefix (build-demo/demo-prefix), which is made afresh
# for every run and kept afterwards for a look inside. The prefix is self-contained: its user
# folders (Desktop, Documents...) are its own, not links to your home folder. Everything the demo starts is ended when it
# finishes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
manual=0
case "${1:-}" in
  --manual) manual=1 ;;
  "") ;;
  *) echo "usage: tools/demo.sh [--manual]" >&2; exit 2 ;;
esac

bash tools/setup.sh
. tools/xvfb.sh

kpf_root=$root
kpf_build="$root/build-demo"          # 64-bit: the demo package and application, the trust tool
build32="$root/build-demo-i686"       # the 32-bit release KPSetup.exe
kpf_work="$kpf_build/demo"
. tools/e2e/flow-lib.sh
mkdir -p "$kpf_work"

# The vendor host is compiled into KPSetup.exe: the usual port when it is free, another otherwise.
port_free() { "$kpf_python" -c 'import socket, sys; s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1])))' "$1" 2>/dev/null; }
port=$(sed -n 's/^KP_VENDOR_HOST:STRING=localhost://p' "$build32/CMakeCache.txt" 2>/dev/null || true)
[[ "$port" =~ ^[0-9]+$ ]] || port=18443
if ! port_free "$port"; then
  port=$("$kpf_python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
fi

if why32=$(bash tools/has-wine32.sh); then
  exe="$build32/app/KPSetup.exe"
  echo "== building the 32-bit release KPSetup.exe for https://localhost:$port, the demo package and application"
  cmake -S . -B "$build32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKP_BUILD_TESTS=OFF -DKP_VENDOR_HOST="localhost:$port" \
    -DKP_PACKAGE_SIGNER_SHA256="$(bash tools/demo-signer.sh)" >/dev/null
  cmake --build "$build32" --target KPSetup -j2 | grep -E '^\[100%\]|error' || true
  targets=(kp_demo_package kp_trust_test_ca)
else
  exe="$kpf_build/app/KPSetup.exe"
  echo "== 32-bit: $why32"
  echo "== so this demo installs with the 64-bit test build of KPSetup.exe, not the 32-bit one users get"
  targets=(KPSetup kp_demo_package kp_trust_test_ca)
fi
cmake -S . -B "$kpf_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DKP_BUILD_TESTS=OFF \
  -DKP_VENDOR_HOST="localhost:$port" >/dev/null
cmake --build "$kpf_build" --target "${targets[@]}" -j2 | grep -E '^\[100%\]|error' || true
for f in "$exe" "$kpf_build/tools/demo/KPCaptureSetup.exe" "$kpf_build/tools/kp_trust_test_ca.exe"; do
  [ -f "$f" ] || { echo "build failed: $f is missing" >&2; exit 1; }
done
kpf_select_exe "$exe"
echo "== installing with $exe ($(file -b "$exe" | cut -d, -f1))"

cleanup() {
  kpf_stop_server
  kpf_end_prefix
  kp_stop_xvfb
}
trap cleanup EXIT

echo "== a CA for the demo, trusted only in the demo's Wine prefix"
certs="$kpf_work/ca"
"$root/tools/make-test-ca.sh" "$certs"
kpf_base_prefix "$kpf_work/prefix-base" "$certs/ca.pem"
prefix="$kpf_build/demo-prefix"
kpf_fresh_prefix "$kpf_work/prefix-base" "$prefix"

# A little slower than the disk, so the progress page has something to show.
kpf_start_server "$port" "$kpf_work/requests.log" "$certs" \
  $(kpf_package_route "$kpf_build/tools/demo/KPCaptureSetup.exe" rate=2500000)
echo "== serving the package at https://localhost:$port$kpf_package_path (127.0.0.1 only)"

if [ -z "${DISPLAY:-}" ]; then
  [ "$manual" = 0 ] || { echo "--manual needs a display (DISPLAY)" >&2; exit 2; }
  kp_start_xvfb
  echo "== no display: running on a private Xvfb ($DISPLAY)"
else
  echo "== running on your display $DISPLAY"
fi

shots="$kpf_build/demo-shots"
rm -rf "$shots"
mkdir -p "$shots"
kpf_start_setup "$kpf_work/setup.log" || { echo "the installer's window did not appear" >&2; exit 1; }

if [ "$manual" = 1 ]; then
  echo "== KPSetup.exe is open: install as you like; the demo ends when you have closed it and the application"
  kpf_shot "$shots/1-welcome.png"
  while kill -0 "$kpf_setup_pid" 2>/dev/null; do sleep 0.5; done
  /usr/lib/wine/wineserver -w
else
  echo "== clicking through the wizard"
  kpf_shot "$shots/1-welcome.png"
  kpf_click "$kpf_main" $KPF_CUSTOM
  kpf_shot "$shots/2-options.png"
  kpf_click "$kpf_main" $KPF_INSTALL1
  sleep 0.8
  kpf_shot "$shots/3-progress-downloading.png"
  # The package starts once downloaded; the page then creeps on while it installs.
  for _ in $(seq 1 100); do
    [ -n "$(find "$(kpf_drive_c)" -name install.log 2>/dev/null)" ] && break
    sleep 0.1
  done
  sleep 1
  kpf_shot "$shots/3-progress-installing.png"
  kpf_wait_active 1 60 || { echo "the package did not finish" >&2; exit 1; }
  sleep 0.5
  kpf_shot "$shots/4-completion.png"
  kpf_click "$kpf_main" $KPF_COMPLETE
  app=""
  for _ in $(seq 1 100); do
    app=$(xdotool search --onlyvisible --name 'KPApp' 2>/dev/null | head -n 1 || true)
    [ -n "$app" ] && break
    sleep 0.1
  done
  if [ -n "$app" ]; then
    sleep 1
    kpf_shot "$shots/5-application.png" "$app"
    echo "== 立即体验 started the installed application; it stays open for a few seconds"
    sleep 4
  else
    echo "the application did not start" >&2
  fi
  kpf_wait_setup_end 10 || true
fi

echo "== what was installed (inside $prefix)"
log=$(find "$(kpf_drive_c)" -path '*/KPCapture/KPCapture/install.log' 2>/dev/null | head -n 1)
if [ -n "$log" ]; then
  echo "application folder: ${log%/install.log}"
  ls "${log%/install.log}"
  echo "the package's record:"
  sed 's/^/  /' "$log"
else
  echo "no installation was made"
fi
echo "uninstall entry ($kpf_uninstall_key):"
# Exported rather than queried: "reg query" prints Chinese as question marks.
entry="$kpf_work/uninstall-entry.reg"
rm -f "$entry"
"$kpf_wine64" reg export "$kpf_uninstall_key" \
  "$(kpf_windows_path "$kpf_work")\\uninstall-entry.reg" /y </dev/null >/dev/null 2>&1 || true
if [ -f "$entry" ]; then iconv -f UTF-16LE -t UTF-8 "$entry" | tr -d '\r' | sed -n 's/^"/  "/p'; else echo "  (none)"; fi
echo "Start menu: $(ls "$(kpf_drive_c)/ProgramData/Microsoft/Windows/Start Menu/Programs/凯普视频工坊" 2>/dev/null | tr '\n' ' ')"
echo "desktop:    $(ls "$(kpf_drive_c)/users/Public/Desktop" 2>/dev/null | tr '\n' ' ')"
echo
echo "pictures of every page: $shots"
ls "$shots"
