# Sourced by the install suites (flow-e2e.sh, silent-e2e.sh) after flow-lib.sh: how a suite begins
# (its arguments, its own network namespace, the exe under test, the test CA and the booted base
# prefix) and the checks and readings every scenario uses.

# kpf_suite_begin SCRIPT USAGE WORK_NAME BUILD_DIR [--exe KPSetup.exe] [ARG...]: sets kpf_build,
# kpf_work (BUILD_DIR/WORK_NAME-<arch>), port, certs, base, prefix and requests, and leaves the
# remaining arguments in kpf_args. The suite runs again in a network namespace of its own when it
# can (nothing else can take or see its port); a machine that cannot run the exe skips (exit 77).
kpf_suite_begin() {
  local script=$1 usage=$2 name=$3 exe
  shift 3
  kpf_build=$(cd "${1:?$usage}" && pwd) || exit 1
  shift
  exe="$kpf_build/app/KPSetup.exe"
  if [ "${1:-}" = --exe ]; then
    exe=$(readlink -f "${2:?$usage}")
    shift 2
  fi
  if [ -z "${KPF_NETNS:-}" ] && command -v ip >/dev/null && unshare -n true 2>/dev/null; then
    exec unshare -n env KPF_NETNS=1 bash "$script" "$kpf_build" --exe "$exe" "$@"
  fi
  [ -n "${KPF_NETNS:-}" ] && ip link set lo up
  kpf_args=("$@")
  [ -f "$exe" ] || { echo "FAIL: $exe is not built"; exit 1; }
  kpf_select_exe "$exe" || { echo "FAIL: $exe is no KPSetup.exe to test"; exit 1; }
  kpf_skip_unless_runnable
  echo "testing $kpf_exe ($kpf_arch)"
  kpf_work="$kpf_build/$name-$kpf_arch"
  mkdir -p "$kpf_work"
}

# kpf_suite_prefix FILE...: every FILE must be built; then the test CA, the vendor's port and the
# booted base prefix that trusts the CA (each scenario runs in a fresh copy of it).
kpf_suite_prefix() {
  local f
  for f in "$@" "$kpf_build/tools/demo/KPCaptureSetup.exe" "$kpf_build/tools/kp_trust_test_ca.exe"; do
    [ -f "$f" ] || { echo "FAIL: $f is not built"; exit 1; }
  done
  port=$(kpf_vendor_port) || exit 1
  certs="$kpf_build/testca"
  "$kpf_root/tools/make-test-ca.sh" "$certs" || exit 1
  base="$kpf_work/prefix-base"
  kpf_base_prefix "$base" "$certs/ca.pem" || { echo "FAIL: no Wine prefix"; exit 1; }
  prefix="$kpf_work/prefix"
  package="$kpf_build/tools/demo/KPCaptureSetup.exe"
  requests="$kpf_work/requests.log"
}

# --- checks ------------------------------------------------------------------------------------------
failures=0
scenario=""
fail() { echo "FAIL [$scenario]: $*"; failures=$((failures + 1)); }
pass() { echo "ok [$scenario]: $*"; }
check() {  # check WHAT EXPRESSION: the expression (evaluated by bash) must hold
  if eval "$2"; then pass "$1"; else fail "$1"; fi
}
begin() {  # begin SCENARIO: a fresh copy of the base prefix
  scenario=$1
  echo "== $scenario"
  kpf_fresh_prefix "$base" "$prefix" || { fail "no prefix"; return 1; }
}

# --- readings ----------------------------------------------------------------------------------------
package_requests() { grep -c "^GET $kpf_package_path\$" "$requests" 2>/dev/null || true; }
# The uninstall entry, in the registry view of the program under test (reg itself is 64-bit).
uninstall_entry() { "$kpf_wine64" reg query "$kpf_uninstall_key" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
start_menu() { echo "$(kpf_drive_c)/ProgramData/Microsoft/Windows/Start Menu/Programs/凯普视频工坊"; }
# The package's parameters, from its record of the command line it was started with (after its
# own path, which is the GUID-named download in a folder of its own under the protected root).
package_parameters() {
  tr -d '\r' <"$1" 2>/dev/null | sed -nE 's/^command line: "C:.ProgramData.KPCapture.[0-9a-f]{32}.[0-9A-F]{32}\.exe" //p'
}
nothing_started() { [ -z "$(find "$(kpf_drive_c)" -name install.log 2>/dev/null)" ]; }
