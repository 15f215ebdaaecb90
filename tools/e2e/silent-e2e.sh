#!/usr/bin/env bash
# End-to-end test of the unattended install: the real KPSetup.exe under Wine, started with "/S",
# downloads the demo package from the local HTTPS server, installs and registers it with no window
# that could be seen at any moment, and ends with the exit code an administrator's script reads.
#
#   silent-e2e.sh BUILD_DIR [--exe KPSetup.exe]
# BUILD_DIR: a MinGW x86_64 build with kp_demo_package and kp_trust_test_ca built. --exe: the
# KPSetup.exe to test instead (the shipped 32-bit program; exit code 77 where it cannot run).
#
# In one prefix: a silent install with the default folder (exit 0, registered, the application not
# started, the log read back line by line), and meanwhile a second silent installer (exit 5) and a
# second wizard (exit 0), neither of which asks the server for anything; then a wizard minimised
# and brought back to the front by a second start. In a second prefix: "/D=" a folder with spaces.
# In a third: exit 1 without a server, 2 for an unsigned package, 3 for a package that fails,
# 6 for folders the options page refuses (with a log in a folder that does not exist).
set -uo pipefail
kpf_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$kpf_root/tools/xvfb.sh"
. "$kpf_root/tools/e2e/flow-lib.sh"
. "$kpf_root/tools/e2e/suite-lib.sh"
kpf_suite_begin "${BASH_SOURCE[0]}" "usage: silent-e2e.sh BUILD_DIR [--exe KPSetup.exe]" e2e-silent "$@"

cleanup() {
  kpf_stop_server
  kpf_end_prefix
  kp_stop_xvfb
  # The booted base stays for the next run; its copy is a gigabyte of a shared disk.
  [ -n "${prefix:-}" ] && rm -rf "$prefix"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then kp_start_xvfb || { echo "FAIL: no X server"; exit 1; }; fi

kpf_suite_prefix "$kpf_build/tools/demo/KPCaptureSetup-unsigned.exe" "$kpf_build/tests/e2e/kp_window_state.exe"
log_has() { grep -qF -- "$2" "$1" 2>/dev/null; }
app_running() { pgrep -f 'KPApp\.exe' >/dev/null; }

# silent_run NAME ARGS...: runs KPSetup.exe with ARGS to its end, watching the X display all along;
# its exit code in code, the number of windows that were ever visible in seen_windows.
silent_run() {
  local name=$1 pid ids
  shift
  (cd "$(dirname "$kpf_exe")" && exec "$kpf_wine" "$(basename "$kpf_exe")" "$@") </dev/null \
    >"$kpf_work/$name.out" 2>&1 &
  pid=$!
  seen_windows=0
  : >"$kpf_work/$name.windows"
  while kill -0 "$pid" 2>/dev/null; do
    ids=$(xdotool search --onlyvisible --name '' 2>/dev/null | grep -vxF -f "$kpf_work/before.windows")
    [ -n "$ids" ] && echo "$ids" >>"$kpf_work/$name.windows"
    sleep 0.05
  done
  code=0
  wait "$pid" || code=$?
  seen_windows=$(sort -u "$kpf_work/$name.windows" | grep -c . || true)
}
window_state_tool="$kpf_build/tests/e2e/kp_window_state.exe"
window_state() { "$kpf_wine64" "$window_state_tool" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The windows visible before any installer runs (the X server's own), which silent_run ignores.
xdotool search --onlyvisible --name '' 2>/dev/null >"$kpf_work/before.windows"
echo 0 >>"$kpf_work/before.windows"
log_path() { echo "$kpf_work/$1.log"; }
win_log() { kpf_windows_path "$(log_path "$1")"; }

# --- one prefix: the default folder; a second installer meanwhile; a wizard brought to the front
scenario_default() {
  begin default || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  rm -f "$(log_path silent)" "$(log_path second)" "$(log_path wizard2)"
  # The first waits 3 s before its check, so the second ones surely meet it.
  (KPSETUP_PAUSE_BEFORE_CHECK_MS_FOR_TESTING=3000 silent_run silent /S "/LOG=$(win_log silent)"
   echo "$code" >"$kpf_work/silent.code") &
  local first=$!
  local i
  for i in $(seq 1 200); do log_has "$(log_path silent)" "download complete" && break; sleep 0.1; done
  local asked
  asked=$(package_requests)
  (cd "$(dirname "$kpf_exe")" && exec "$kpf_wine" "$(basename "$kpf_exe")" /S "/LOG=$(win_log second)") </dev/null >/dev/null 2>&1
  local second=$?
  (cd "$(dirname "$kpf_exe")" && exec "$kpf_wine" "$(basename "$kpf_exe")" "/LOG=$(win_log wizard2)") </dev/null >/dev/null 2>&1
  local wizard=$?
  wait "$first"
  # silent_run ran in a subshell: what it saw is in its files.
  local first_code
  first_code=$(cat "$kpf_work/silent.code" 2>/dev/null)
  check "a second silent installer meanwhile exits with 5" '[ "$second" = 5 ]'
  check "... and says why in its log" 'log_has "$(log_path second)" "another installer is running"'
  check "a second wizard meanwhile exits with 0, showing nothing" '[ "$wizard" = 0 ]'
  check "neither asked the server for the package" '[ "$(package_requests)" = "$asked" ] && [ "$asked" = 1 ]'
  check "the silent install ends with exit code 0" '[ "$first_code" = 0 ]'
  check "no window was visible at any moment of it" '[ "$(sort -u "$kpf_work/silent.windows" | grep -c .)" = 0 ]'
  check "the product is registered" 'uninstall_entry /v InstallLocation | grep -qF "C:\\$kpf_program_files\\KPCapture\\KPCapture"'
  check "the Start-menu group has both shortcuts" '[ -e "$(start_menu)/凯普视频工坊.lnk" ] && [ -e "$(start_menu)/卸载凯普视频工坊.lnk" ]'
  check "the package got the default folder and the desktop shortcut" \
    '[ "$(package_parameters "$(kpf_drive_c)/$kpf_program_files/KPCapture/KPCapture/install.log")" = "-instdir=C:\\$kpf_program_files\\KPCapture -dsc=true" ]'
  check "the application was not started" '! app_running'
  check "no package is left" '[ -z "$(find "$(kpf_drive_c)/ProgramData/KPCapture" -mindepth 1 2>/dev/null)" ]'

  # The log, line by line: every line stamped, the steps in their order.
  local log
  log=$(log_path silent)
  cp "$log" "$kpf_work/silent-run.log"
  check "every line of the log is stamped" \
    '! tr -d "\r" <"$log" | grep -vqE "^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}  "'
  local expected=(
    "KPSetup 12.0.0.0 (凯普视频工坊)"
    "command line: /S /LOG="
    "Windows "
    "silent install; the licence agreement is taken as accepted"
    "display: "
    "install folder: C:\\$kpf_program_files\\KPCapture; desktop shortcut: yes"
    "status file "
    "downloading https://localhost:$port$kpf_package_path"
    "attempt 1 of 3: HTTP 200, "
    "download complete"
    "package check: trusted; signed by KPSetup Demo Publisher, key "
    "starting \"C:\\ProgramData\\KPCapture\\"
    "the package runs, process "
    "status file: active = \"1\""
    "registering the product in C:\\$kpf_program_files\\KPCapture\\KPCapture"
    "uninstall entry: written; Start-menu shortcuts: written"
    "exit code 0"
  )
  local line=0 want found
  local body
  body=$(tr -d '\r' <"$log" | cut -c26-)
  for want in "${expected[@]}"; do
    found=$(echo "$body" | tail -n +$((line + 1)) | grep -nF -m1 -- "$want" | cut -d: -f1)
    if [ -z "$found" ]; then fail "the log lacks, after line $line: $want"; continue; fi
    line=$((line + found))
  done
  check "the log holds each step in order (${#expected[@]} steps)" '[ "$line" -gt 0 ]'
  check "the package's command line is in the log" 'echo "$body" | grep -qF -- "-instdir=C:\\$kpf_program_files\\KPCapture -dsc=true"'

  # A wizard, minimised, behind another program; a second start brings it back to the front and
  # ends with 0.
  kpf_start_setup "$kpf_work/wizard.out" || { fail "the wizard did not appear"; return; }
  (cd "$kpf_work" && exec "$kpf_wine64" notepad) </dev/null >/dev/null 2>&1 &
  sleep 3
  window_state minimize kpmainframe >/dev/null
  sleep 1
  check "(the wizard is minimised, another program in front)" \
    '[ "$(window_state iconic kpmainframe)" = 1 ] && [ "$(window_state foreground)" != kpmainframe ]'
  (cd "$(dirname "$kpf_exe")" && exec "$kpf_wine" "$(basename "$kpf_exe")") </dev/null >/dev/null 2>&1
  local again=$?
  sleep 1
  check "a second start while the wizard runs exits with 0" '[ "$again" = 0 ]'
  check "... and the wizard is restored and in front again" \
    '[ "$(window_state iconic kpmainframe)" = 0 ] && [ "$(window_state foreground)" = kpmainframe ]'
  check "one wizard window, not two" '[ "$(xdotool search --onlyvisible --name "凯普视频工坊" | wc -l)" = 1 ]'
  kpf_end_prefix
  kpf_stop_server
}

# --- another prefix: "/D=" a folder with spaces, no quotes -------------------------------------
scenario_spaces() {
  begin spaces || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  silent_run spaces /S "/LOG=$(win_log spaces)" /D=C:\\Kai Pu Apps\\Screen Tools
  check "a silent install into \"/D=C:\\Kai Pu Apps\\Screen Tools\" ends with 0" '[ "$code" = 0 ]'
  check "no window was visible at any moment" '[ "$seen_windows" = 0 ]'
  check "the package got the whole folder" \
    '[ "$(package_parameters "$(kpf_drive_c)/Kai Pu Apps/Screen Tools/KPCapture/install.log")" = "-instdir=C:\\Kai Pu Apps\\Screen Tools -dsc=true" ]'
  check "the product is registered in that folder" \
    'uninstall_entry /v InstallLocation | grep -qF "C:\\Kai Pu Apps\\Screen Tools\\KPCapture"'
  kpf_end_prefix
  kpf_stop_server
}

# --- a third prefix: each failure's exit code -------------------------------------------------
scenario_failures() {
  begin failures || return
  silent_run noserver /S "/LOG=$(win_log noserver)"
  check "no server: exit code 1" '[ "$code" = 1 ]'
  check "... after three attempts, each in the log" '[ "$(grep -c "attempt [123] of 3" "$(log_path noserver)")" = 3 ]'
  check "... and no window at any moment" '[ "$seen_windows" = 0 ]'

  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "${package%.exe}-unsigned.exe") ||
    { fail "no server"; return; }
  silent_run unsigned /S "/LOG=$(win_log unsigned)"
  check "an unsigned package: exit code 2" '[ "$code" = 2 ]'
  check "... never started" nothing_started
  check "... the log says why" 'log_has "$(log_path unsigned)" "package check: no signature"'

  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  KPDEMO_PACKAGE_MODE=fail silent_run failing /S "/LOG=$(win_log failing)"
  check "a package that fails: exit code 3" '[ "$code" = 3 ]'
  check "... its exit code is in the log" 'grep -qE "the package ended with exit code [1-9]" "$(log_path failing)"'
  check "... nothing registered" '! uninstall_entry >/dev/null'

  : >"$requests"
  silent_run relative /S /D=Kai\\Pu "/LOG=$(win_log relative)"
  check "a relative folder: exit code 6" '[ "$code" = 6 ]'
  silent_run empty /S /D=
  check "\"/D=\" with nothing after it: exit code 6" '[ "$code" = 6 ]'
  silent_run several /S /DIR=C:\\a /D=C:\\b
  check "two folders: exit code 6" '[ "$code" = 6 ]'
  silent_run nolog /S "/LOG=C:\\no\\such\\folder\\kp.log" "/D=C:\\a\"b"
  check "a quote in the folder, the log in a folder that does not exist: exit code 6" '[ "$code" = 6 ]'
  check "none of them asked the server for anything" '[ "$(package_requests)" = 0 ]'
  check "none of them showed a window" '[ "$(cat "$kpf_work"/{relative,empty,several,nolog}.windows | grep -c .)" = 0 ]'
  kpf_end_prefix
  kpf_stop_server
}

scenario_default
scenario_spaces
scenario_failures
echo "silent install log of the default run: $kpf_work/silent-run.log"
if [ "$failures" -gt 0 ]; then
  echo "FAILED: $failures check(s)"
  exit 1
fi
echo "PASSED"
