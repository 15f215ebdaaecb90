#!/usr/bin/env bash
# The main job: builds KPSetup.exe for x86_64 and runs it under Wine, on your display when there is
# one, otherwise on a private Xvfb. Installs whatever is missing first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
. tools/xvfb.sh
build="$root/build-demo"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DKP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target KPSetup -j2
if [ -z "${DISPLAY:-}" ]; then
  kp_start_xvfb
  trap kp_stop_xvfb EXIT
fi
echo "running KPSetup.exe under Wine on display $DISPLAY"
set +e
"$build/wine-run.sh" "$build/app/KPSetup.exe"
code=$?
set -e
WINEPREFIX="$build/wineprefix" /usr/lib/wine/wineserver -w
echo "KPSetup.exe exited with code $code"
