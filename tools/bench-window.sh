#!/usr/bin/env bash
# Window figures under Wine of the 32-bit release build (the file users get), measured side by
# side in one run at 100 % and 200 %:
#   - time from process start to the first complete frame of the main window, against a minimal
#     32-bit Win32 program that shows one empty layered window of the same size (goals: at most
#     1.3x at 100 %, 1.4x at 200 %);
#   - a full repaint of the main window (goals: under 5 ms at 100 %, under 15 ms at 200 %);
#   - the peak working set at 200 % (goal: under 40 MB).
# Both programs run under WoW64 Wine (/usr/lib/wine/wine) in a win64 prefix of the build folder.
# The machine's load is printed with the figures: on a busy machine start-up times scatter widely,
# so the ratio that counts is the median of the ratios of each round (a main-window run and the
# minimal run just before it), and a high load is called out.
# The programs are built as the release is (optimised for size, stripped) in a folder of their own.
# Usage: tools/bench-window.sh [build folder (default build-bench-window)] [rounds (default 7)]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench-window}
rounds=${2:-7}
if ! "$root/tools/has-ia32.sh"; then
  echo "bench-window: this machine's kernel cannot run 32-bit programs, so 32-bit Wine cannot run the release build; nothing measured" >&2
  exit 1
fi
if [ ! -x /usr/lib/wine/wine ]; then
  echo "bench-window: 32-bit Wine (/usr/lib/wine/wine, package wine32:i386) is missing: run tools/setup.sh" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  # The benchmark downloads nothing; the release configuration still wants a vendor host.
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DKP_VENDOR_HOST=localhost:18443 -DKP_BUILD_TESTS=OFF \
    -DKP_PACKAGE_SIGNER_SHA256="$(bash "$root/tools/demo-signer.sh")" >/dev/null || exit 1
fi
build=$(cd "$build" && pwd)
cmake --build "$build" --target kp_bench_minimal_layered kp_bench_main_window -j2 >/dev/null || exit 1
. "$root/tools/xvfb.sh"
if [ -z "${DISPLAY:-}" ]; then kp_start_xvfb || exit 1; trap kp_stop_xvfb EXIT; fi

# Runs a 32-bit program in the build folder's prefix for the DPI (made on first use).
run32() {
  local prefix="$build/wineprefix"
  [ "$dpi" = 96 ] || prefix="$build/wineprefix-dpi$dpi"
  [ -f "$prefix/system.reg" ] || "$root/tools/wine-prefix.sh" "$prefix" "$dpi" || return 1
  WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    sh -c '/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1; exec /usr/lib/wine/wine "$@"' run32 "$@" \
    2>/dev/null | tr -d '\r'
}
load() { cut -d' ' -f1 /proc/loadavg; }
cores=$(nproc)

median() { sort -n | awk '{v[NR]=$1} END {if (NR) print v[int((NR+1)/2)]; else print "nan"}'; }
figure() { grep "^$1 " | awk '{print $2}'; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $cores cores"
for dpi in 96 192; do
  run() { run32 "$@"; }
  run "$build/tools/winbench/kp_bench_minimal_layered.exe" >/dev/null  # warm the prefix and wineserver
  before=$(load)
  : >"/tmp/kp-bench-min.$$"; : >"/tmp/kp-bench-main.$$"
  for i in $(seq 1 "$rounds"); do
    run "$build/tools/winbench/kp_bench_minimal_layered.exe" >>"/tmp/kp-bench-min.$$"
    run "$build/tools/winbench/kp_bench_main_window.exe" >>"/tmp/kp-bench-main.$$"
  done
  minimal=$(figure first-frame-ms <"/tmp/kp-bench-min.$$" | median)
  main=$(figure first-frame-ms <"/tmp/kp-bench-main.$$" | median)
  repaint=$(figure repaint-ms <"/tmp/kp-bench-main.$$" | median)
  peak=$(figure peak-working-set-mb <"/tmp/kp-bench-main.$$" | median)
  minimalPeak=$(figure peak-working-set-mb <"/tmp/kp-bench-min.$$" | median)
  size=$(grep '^window ' "/tmp/kp-bench-main.$$" | head -n 1 | awk '{print $2}')
  after=$(load)
  echo "DPI $dpi (main window $size, medians of $rounds runs; load $before before, $after after):"
  echo "  first complete frame: main window ${main} ms, minimal layered window ${minimal} ms, ratio $(awk -v a="$main" -v b="$minimal" 'BEGIN {printf "%.2f", a / b}')x"
  # Each main-window run follows its own minimal run, so the ratio of each pair is less disturbed
  # by the machine's load drifting during the whole measurement.
  paired=$(paste -d' ' <(figure first-frame-ms <"/tmp/kp-bench-main.$$") <(figure first-frame-ms <"/tmp/kp-bench-min.$$") |
    awk '{printf "%.3f\n", $1 / $2}' | median)
  echo "  median of the ratios of each round: ${paired}x"
  echo "  full repaint: ${repaint} ms"
  echo "  peak working set: ${peak} MB (the minimal program: ${minimalPeak} MB)"
  echo "  main window's working set by stage (MB, last run): $(grep '^working-set-mb' "/tmp/kp-bench-main.$$" | tail -n 1 | cut -d' ' -f2-)"
  rm -f "/tmp/kp-bench-min.$$" "/tmp/kp-bench-main.$$"
  if awk -v a="$before" -v b="$after" -v c="$cores" 'BEGIN {exit !(a > c || b > c)}'; then
    echo "  the load was above $cores (one runnable task a core): these figures are unreliable, rerun when the machine is quieter"
  fi
done
