#!/usr/bin/env bash
# Window figures under Wine, measured side by side in one run at 100 % and 200 %:
#   - time from process start to the first complete frame of the main window, against a minimal
#     Win32 program that shows one empty layered window of the same size (goal: at most 1.5x);
#   - a full repaint of the main window (goals: under 5 ms at 100 %, under 15 ms at 200 %);
#   - the peak working set at 200 % (goal: under 40 MB).
# The machine's load is printed too: on a busy machine start-up times scatter widely.
# The programs are built as the release is (optimised, stripped) in a folder of their own.
# Usage: tools/bench-window.sh [build folder (default build-bench-window)] [rounds (default 7)]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench-window}
rounds=${2:-7}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DKP_BUILD_TESTS=OFF >/dev/null || exit 1
fi
build=$(cd "$build" && pwd)
cmake --build "$build" --target kp_bench_minimal_layered kp_bench_main_window -j2 >/dev/null || exit 1
. "$root/tools/xvfb.sh"
if [ -z "${DISPLAY:-}" ]; then kp_start_xvfb || exit 1; trap kp_stop_xvfb EXIT; fi

median() { sort -n | awk '{v[NR]=$1} END {if (NR) print v[int((NR+1)/2)]; else print "nan"}'; }
figure() { grep "^$1 " | awk '{print $2}'; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for dpi in 96 192; do
  run() { KP_WINE_DPI=$dpi "$build/wine-run.sh" "$@" 2>/dev/null | tr -d '\r'; }
  run "$build/tools/winbench/kp_bench_minimal_layered.exe" >/dev/null  # warm the prefix and wineserver
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
  echo "DPI $dpi (main window $size, medians of $rounds runs):"
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
done
