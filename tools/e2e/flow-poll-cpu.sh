#!/usr/bin/env bash
# Measures what the installer costs while it waits for a setup package: KPSetup.exe downloads a
# "package" that never reports completion (it exits at once), so the progress page rests at 99 %
# and the status file is read every 108 ms. Prints the CPU time the program (and Wine's server on
# its behalf) used over 30 s of that polling, as a share of one core. Goal: under 1 %.
#
#   tools/e2e/flow-poll-cpu.sh [BUILD_DIR] [SECONDS]
# BUILD_DIR: a MinGW x86_64 build (default build-win64) with KPSetup, kp_trust_test_ca built;
# runs on a private Xvfb in a network namespace of its own when it can.
set -uo pipefail
kpf_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
kpf_build=$(cd "${1:-$kpf_root/build-win64}" && pwd)
seconds=${2:-30}
kpf_work="$kpf_build/poll-cpu"

if [ -z "${KPF_NETNS:-}" ] && command -v ip >/dev/null && unshare -n true 2>/dev/null; then
  exec unshare -n env KPF_NETNS=1 bash "${BASH_SOURCE[0]}" "$kpf_build" "$seconds"
fi
[ -n "${KPF_NETNS:-}" ] && ip link set lo up

. "$kpf_root/tools/xvfb.sh"
. "$kpf_root/tools/e2e/flow-lib.sh"
mkdir -p "$kpf_work"
cleanup() {
  kpf_stop_server
  kpf_end_prefix
  kp_stop_xvfb
  rm -rf "$kpf_work/prefix"
}
trap cleanup EXIT
unset DISPLAY
kp_start_xvfb || exit 1

for f in app/KPSetup.exe tools/kp_trust_test_ca.exe; do
  [ -f "$kpf_build/$f" ] || { echo "$kpf_build/$f is not built" >&2; exit 1; }
done
kpf_select_exe "$kpf_build/app/KPSetup.exe" || exit 1
port=$(kpf_vendor_port) || exit 1
certs="$kpf_build/testca"
"$kpf_root/tools/make-test-ca.sh" "$certs" || exit 1
kpf_base_prefix "$kpf_work/prefix-base" "$certs/ca.pem" || exit 1
kpf_fresh_prefix "$kpf_work/prefix-base" "$kpf_work/prefix" || exit 1

# A real program that exits at once and never writes the status file.
kpf_start_server "$port" "$kpf_work/requests.log" "$certs" $(kpf_package_route "$kpf_build/tools/kp_trust_test_ca.exe") || exit 1
kpf_start_setup "$kpf_work/setup.log" || { echo "the installer's window did not appear" >&2; exit 1; }
kpf_click "$kpf_main" $KPF_INSTALL
# The download takes a moment; then the page creeps to 99 % within about 3.2 s.
for _ in $(seq 1 100); do grep -q "^GET " "$kpf_work/requests.log" && break; sleep 0.1; done
sleep 6
picture="$kpf_work/resting.png"
kpf_shot "$picture"
[ "$(kpf_page_of "$picture")" = 2 ] || { echo "the progress page is not shown (see $picture)" >&2; exit 1; }
[ "$(kpf_active)" = 0 ] || { echo "the status file is not being waited on" >&2; exit 1; }

# The process of this prefix matching PATTERN (others may run the same program elsewhere).
in_prefix() {
  local p
  for p in $(pgrep -f "$1"); do
    [ "$(tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | sed -n 's/^WINEPREFIX=//p')" = "$WINEPREFIX" ] && { echo "$p"; return; }
  done
}
pid=$(in_prefix 'KPSetup\.exe$')
server=$(in_prefix wineserver)
[ -n "$pid" ] || { echo "KPSetup.exe is not running" >&2; exit 1; }
ticks() { [ -n "$1" ] && awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
hz=$(getconf CLK_TCK)

program0=$(ticks "$pid"); server0=$(ticks "$server"); start=$(date +%s%N)
mtime0=$(stat -c %Y "$(kpf_roaming)/APP.ini")
sleep "$seconds"
program1=$(ticks "$pid"); server1=$(ticks "$server"); end=$(date +%s%N)
kill -0 "$pid" 2>/dev/null || { echo "KPSetup.exe ended during the measurement" >&2; exit 1; }

awk -v p=$((program1 - program0)) -v s=$((server1 - server0)) -v hz="$hz" -v ns=$((end - start)) 'BEGIN {
  wall = ns / 1e9
  printf "status polling for %.1f s (page resting at 99 %%, APP.ini read every 108 ms):\n", wall
  printf "  KPSetup.exe CPU time: %.2f s = %.2f %% of one core\n", p / hz, 100 * p / hz / wall
  printf "  wineserver CPU time:  %.2f s = %.2f %% of one core\n", s / hz, 100 * s / hz / wall
  printf "  together:             %.2f %% of one core (goal: under 1 %%)\n", 100 * (p + s) / hz / wall
}'
