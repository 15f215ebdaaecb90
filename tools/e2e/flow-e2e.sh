#!/usr/bin/env bash
# End-to-end test of the installation: the real KPSetup.exe under Wine downloads the demo setup
# package from the local HTTPS server (tools/pkgserver.py, a CA trusted only in the test's Wine
# prefix), starts it, follows it to the completion page and registers the product. Clicked with
# xdotool on the display given in DISPLAY, or on a private Xvfb when there is none.
#
#   flow-e2e.sh BUILD_DIR [--exe KPSetup.exe] [SCENARIO...]
# BUILD_DIR: a MinGW x86_64 build with KPSetup, kp_demo_package, kp_trust_test_ca and
# kp_options_page_reference built. --exe: the KPSetup.exe to test instead of BUILD_DIR's own, such as
# the shipped 32-bit program, which runs as on 64-bit Windows: its default folder is under
# "Program Files (x86)" and its uninstall entry under Wow6432Node. A machine that cannot run 32-bit
# programs skips that run (exit code 77).
# Scenarios (all by default):
#   happy      welcome -> the agreement link opens https://<the package's host>/agreement.html in
#              the browser -> 立即安装 -> progress -> completion -> 立即体验 starts KPApp; then the
#              demo uninstaller removes everything again
#   selfclose  options with the desktop box cleared -> "-dsc=false"; the completion page closes
#              by itself after 3 s and the product is registered all the same
#   folder     a folder with spaces, picked in the shell's folder dialog by walking its tree by name,
#              is what the options page shows (compared with a reference drawing of the page made by
#              kp_options_page_reference) and reaches the package verbatim
#   retry      no server: the failure question; OK -> welcome; the server comes up; 立即安装 again
#              really downloads and installs
#   http404    the server answers 404: three attempts, the failure question, nothing started or
#              left behind; Cancel keeps the progress page at 0 %; the close question ends the program
#   closing    closing the window during a slow download ends the program promptly, leaving no file
#   badinput   a package cut off halfway, then a server whose certificate nobody trusts: each ends
#              in the failure question with nothing started; then a good server installs
#   hostile    an HTTP 404 and a 500 whose bodies are the genuine package (the download question),
#              an unsigned package, one changed by a byte after signing and one signed by a key that
#              is not pinned (the verification question), each with nothing run or left; then a
#              transfer that stalls once and installs on the next attempt, with the options chosen
#              before the first failure
#   swap       another process replaces the package between the transfer and the check (the
#              verification question), then tries to while the checked package waits for its start
#              (refused; the genuine package installs); the installer's test pauses make the moments
#              certain
#   outside    closes from another process ("End task", a log-off) while a question is open: over
#              the welcome page's close question (the question goes, then the program, no crash),
#              and over the completion page's (the end of the session, then the close, register
#              the product all the same); Alt+F4 on
#              a question leaves the main window active; the progress page's close question open
#              while the install completes, answered 确定: the product is registered
#   dpi        the display scale changes (WM_DPICHANGED) 96 -> 144 -> 192 -> 96 during a slow
#              download: the window takes each size and, back at 96, looks as before; the download
#              goes on; closed from another process then, the program ends cleanly within 5 s
#   package    a package that exits with an error without writing "1" (the question of an install
#              that did not complete), then one that hands over to a child process that completes;
#              then the window closed while that child installs: the installer ends, the package
#              completes by itself, and what is left of it is to be removed at the next start
#   access     read by a screen reader from another process and driven by the keyboard alone
#              (tools/e2e/access-scenario.sh)
#   links, claim, planted, badfolder: another process of the user, or files left in the Downloads
#              folder, against the elevated installer (tools/e2e/flow-local.sh says how)
#
# After each failure question, and once the installer has ended, no package file or folder is left.

# Every scenario checks the question shown against a drawing of each kind's words
# (kp_question_reference). Each scenario runs in a fresh copy of a self-contained prefix. The test runs in a network namespace
# of its own when it can (nothing else can take or see its port); pictures go to
# BUILD_DIR/e2e-flow-<arch>/shots.
set -uo pipefail
kpf_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$kpf_root/tools/xvfb.sh"
. "$kpf_root/tools/e2e/flow-lib.sh"
. "$kpf_root/tools/e2e/suite-lib.sh"
kpf_suite_begin "${BASH_SOURCE[0]}" "usage: flow-e2e.sh BUILD_DIR [--exe KPSetup.exe] [SCENARIO...]" e2e-flow "$@"

scenarios=("${kpf_args[@]}")
[ ${#scenarios[@]} -gt 0 ] ||
  scenarios=(happy selfclose folder retry http404 closing badinput hostile swap package links claim planted badfolder
    outside dpi access)
shots="$kpf_work/shots"
rm -rf "$shots" "$kpf_work"/question-*.ref  # the question drawings are made again for each run
mkdir -p "$shots"

cleanup() {
  kpf_stop_server
  kpf_end_prefix
  kp_stop_xvfb
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then kp_start_xvfb || { echo "FAIL: no X server"; exit 1; }; fi

reference="$kpf_build/tests/e2e/kp_options_page_reference.exe"
question_tool="$kpf_build/tests/e2e/kp_question_reference.exe"
swap_tool="$kpf_build/tests/e2e/kp_swap_package.exe"
post_close_tool="$kpf_build/tests/e2e/kp_post_close.exe"
kpf_suite_prefix "$reference" "$question_tool" "$swap_tool" "$post_close_tool"
# The prefix's web browser: a script that notes the address it is asked to open.
browser_log="$kpf_work/browser.log"
cat >"$kpf_work/browser.sh" <<BROWSER
#!/bin/sh
printf '%s\\n' "\$*" >>"$browser_log"
BROWSER
chmod +x "$kpf_work/browser.sh"
(kpf_use_prefix "$base" && "$kpf_wine64" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ \
   /d "$kpf_work/browser.sh" /f </dev/null >/dev/null 2>&1 && /usr/lib/wine/wineserver -w) ||
  { echo "FAIL: the prefix's browser could not be set"; exit 1; }

shot() { kpf_shot "$shots/$scenario-$1.png"; echo "$shots/$scenario-$1.png"; }
# page_is N NAME [SECONDS]: the main window shows page N, at once or within SECONDS (10 by default;
# a busy machine may draw a page change late), its last picture saved as NAME. A page that is
# already shown is taken at once, so this also checks that a window stays on its page.
page_is() {
  local picture page deadline=$((SECONDS + ${3:-10}))
  while :; do
    picture=$(shot "$2")
    page=$(kpf_page_of "$picture")
    [ "$page" = "$1" ] && return 0
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.3
  done
  echo "  (page $page shown, picture $picture)"
  return 1
}
# The body at an https address, from a client that trusts only the test CA.
fetch() {
  "$kpf_python" -c 'import ssl, sys, urllib.request
context = ssl.create_default_context(cafile=sys.argv[1])
sys.stdout.write(urllib.request.urlopen(sys.argv[2], context=context, timeout=10).read().decode("utf-8"))' \
    "$certs/ca.pem" "$1" 2>/dev/null
}
exists() { [ -e "$1" ]; }
absent() { [ ! -e "$1" ]; }
contains() { grep -qF -- "$2" "$1" 2>/dev/null; }
setup_running() { [ -n "$kpf_setup_pid" ] && kill -0 "$kpf_setup_pid" 2>/dev/null; }
kpapp_window() { xdotool search --onlyvisible --name 'KPApp' 2>/dev/null | head -n 1; }
has_uninstall_entry() { uninstall_entry >/dev/null && [ -n "$(uninstall_entry)" ]; }
entry_in_other_view() { "$kpf_wine64" reg query "$kpf_other_uninstall_key" </dev/null >/dev/null 2>&1; }
desktop_link() { echo "$(kpf_drive_c)/users/Public/Desktop/凯普视频工坊.lnk"; }
# The protected root of the package folders, and every file or folder left in it (each download's
# folder and package are removed once the attempt has failed or completed, or the program closed).
package_root() { echo "$(kpf_drive_c)/ProgramData/KPCapture"; }
downloaded_packages() { find "$(package_root)" -mindepth 1 2>/dev/null; }
default_dir="C:\\$kpf_program_files\\KPCapture"  # the installer's default folder
default_app="$kpf_program_files/KPCapture/KPCapture"  # where the package puts the application

# Registered, linked and installed into C:\<folder>\KPCapture (folder relative to drive C:).
check_installed() {
  local app
  app="$(kpf_drive_c)/$1"
  check "KPApp.exe and KPUnInstall.exe installed in $1" '[ -s "$app/KPApp.exe" ] && [ -s "$app/KPUnInstall.exe" ]'
  check "the uninstall entry is registered (in the $kpf_arch program's registry view)" has_uninstall_entry
  check "... and not in the other view" '! entry_in_other_view'
  local location="C:\\${1//\//\\}"
  check "its install location is the application folder" 'uninstall_entry /v InstallLocation | grep -qF "$location"'
  local uninstaller="\"$location\\KPUnInstall.exe\""
  check "its uninstall command is the uninstaller's quoted path" \
    'uninstall_entry /v UninstallString | grep -qF -- "REG_SZ    $uninstaller"'
  check "the Start-menu group has both shortcuts" \
    'exists "$(start_menu)/凯普视频工坊.lnk" && exists "$(start_menu)/卸载凯普视频工坊.lnk"'
  check "the status file says the package is done" '[ "$(kpf_active)" = 1 ]'
}

# Clicks 立即安装 on the welcome page (or the options page) and follows the download to the
# completion page; NAME prefixes the pictures.
install_to_completion() {
  local button=$1
  kpf_click "$kpf_main" $button
  sleep 0.8
  check "the progress page follows 立即安装" 'page_is 2 progress'
  if kpf_wait_active 1 40; then
    sleep 0.4
    check "the completion page is shown when the package is done" 'page_is 3 complete'
  else
    fail "the package never reported completion"
    shot stuck >/dev/null
    return 1
  fi
}

# --- happy: default folder, 立即体验, then the demo uninstaller ----------------------------------
scenario_happy() {
  begin happy || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/happy-setup.log" || { fail "the main window did not appear"; return; }
  check "the wizard opens on the welcome page" 'page_is 0 welcome'
  # The agreement link: the browser gets the agreement's address, over TLS on the package's host,
  # and that server answers it with the page.
  : >"$browser_log"
  kpf_click "$kpf_main" $KPF_AGREEMENT
  local address=""
  for _ in $(seq 1 100); do address=$(head -n 1 "$browser_log"); [ -n "$address" ] && break; sleep 0.1; done
  check "the agreement link opens https://localhost:$port/agreement.html in the browser" \
    '[ "$address" = "https://localhost:$port/agreement.html" ]'
  check "... which the package's server answers with the agreement" \
    'fetch "$address" | grep -q "用户协议"'
  check "the wizard stays on the welcome page" 'page_is 0 after-agreement'
  install_to_completion "$KPF_INSTALL" || return
  kpf_click "$kpf_main" $KPF_COMPLETE
  local app_window=""
  for _ in $(seq 1 100); do app_window=$(kpapp_window); [ -n "$app_window" ] && break; sleep 0.1; done
  check "立即体验 starts the installed application" '[ -n "$app_window" ]'
  [ -n "$app_window" ] && kpf_shot "$shots/happy-application.png" "$app_window"
  check "the installer ends with exit code 0" 'kpf_wait_setup_end 5 && [ "$kpf_setup_code" = 0 ]'
  check "exactly one download of the package" '[ "$(package_requests)" = 1 ]'
  # The package's log: the command line it was started with, the GUID-named download first.
  check "the package, started as its GUID-named download, got the default folder and the desktop choice verbatim" \
    '[ "$(package_parameters "$(kpf_drive_c)/$default_app/install.log")" = "-instdir=$default_dir -dsc=true" ]'
  check "the package and its folder are gone once the install completed" '[ -z "$(downloaded_packages)" ]'
  check "the desktop shortcut was made" 'exists "$(desktop_link)"'
  check_installed "$default_app"

  # The demo uninstaller closes the running application and removes what the package and the
  # installer made.
  (cd "$(kpf_drive_c)/$default_app" && "$kpf_wine64" KPUnInstall.exe /S </dev/null >/dev/null 2>&1)
  for _ in $(seq 1 150); do absent "$(kpf_drive_c)/$default_app" && ! has_uninstall_entry && break; sleep 0.1; done
  sleep 0.5
  check "KPUnInstall closes the running application" '[ -z "$(kpapp_window)" ]'
  check "KPUnInstall removes the application folder" 'absent "$(kpf_drive_c)/$default_app"' ||
    ls -la "$(kpf_drive_c)/$default_app"
  check "KPUnInstall removes the uninstall entry" '! has_uninstall_entry'
  check "KPUnInstall removes the Start-menu group and the desktop shortcut" 'absent "$(start_menu)" && absent "$(desktop_link)"'
  check "KPUnInstall removes the status file and the downloaded package" \
    'absent "$(kpf_roaming)/APP.ini" && [ -z "$(downloaded_packages)" ]'
}

# --- selfclose: desktop box cleared, nobody clicks on the completion page ----------------------
scenario_selfclose() {
  begin selfclose || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/selfclose-setup.log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_CUSTOM
  check "自定义安装 shows the options page" 'page_is 1 options'
  kpf_click "$kpf_main" $KPF_DESKTOP_BOX
  shot options-cleared >/dev/null
  install_to_completion "$KPF_INSTALL1" || return
  local shown=$SECONDS
  sleep 2
  check "the completion page is still there after 2 s" setup_running
  check "the completion page closes by itself" 'kpf_wait_setup_end 8'
  check "... about 3 s after it was shown" '[ $((SECONDS - shown)) -ge 2 ]'
  check "... with exit code 0" '[ "${kpf_setup_code:-x}" = 0 ]'
  check "the cleared desktop box reaches the package as -dsc=false" \
    '[ "$(package_parameters "$(kpf_drive_c)/$default_app/install.log")" = "-instdir=$default_dir -dsc=false" ]'
  check "no desktop shortcut" 'absent "$(desktop_link)"'
  check "the application was not started" '[ -z "$(kpapp_window)" ]'
  check_installed "$default_app"
}

# --- folder: a picked folder with spaces -------------------------------------------------------
# The reference drawing of the options page showing TEXT as the install folder, made by the
# framework in a program of its own: sets ref_picture and ref_area (the path label, "WxH+X+Y").
draw_reference() {
  local name="flow-reference-$kpf_arch"
  ref_area=$("$kpf_build/wine-run.sh" "$reference" "$1" "$name" </dev/null 2>"$kpf_work/reference.log" | tr -d '\r')
  ref_picture="$kpf_build/screenshots/$name.png"
  [[ "$ref_area" =~ ^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$ ]] && [ -s "$ref_picture" ]
}
# Pixels of the path label that differ (beyond a small tolerance) between a picture of the main
# window and the reference drawing.
path_pixels_differing() {
  local n
  convert "$1" -crop "$ref_area" +repage "$kpf_work/path-shown.png" &&
    convert "$ref_picture" -background black -flatten -crop "$ref_area" +repage "$kpf_work/path-reference.png" &&
    { n=$(compare -metric AE -fuzz 10% "$kpf_work/path-shown.png" "$kpf_work/path-reference.png" null: 2>&1)
      echo "${n%% *}"; }
}

scenario_folder() {
  begin folder || return
  local folder='C:\Demo Apps\Kai Pu' before after
  mkdir -p "$(kpf_drive_c)/Demo Apps/Kai Pu"
  draw_reference "$folder\\KPCapture" || { fail "no reference drawing of the options page: $(cat "$kpf_work/reference.log")"; return; }
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/folder-setup.log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_CUSTOM
  shot options-before >/dev/null
  kpf_click "$kpf_main" $KPF_MODIFY
  local i
  for i in $(seq 1 50); do xdotool search --onlyvisible --name 'Browse for Folder' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  kpf_pick_demo_folder || { fail "the folder dialog did not open"; return; }
  cp "$kpf_work/folder-dialog.png" "$shots/folder-dialog.png"
  check "the options page is shown after the folder dialog" 'page_is 1 options-picked'
  # The path label against the reference: the same but for a few pixels, while the default
  # folder shown before differs in hundreds (so the comparison tells folders apart).
  before=$(path_pixels_differing "$shots/folder-options-before.png")
  after=$(path_pixels_differing "$shots/folder-options-picked.png")
  echo "  (path label pixels differing from the reference: $before before picking, $after after)"
  check "the options page shows $folder\\KPCapture, as the reference drawing does" \
    '[[ "$after" =~ ^[0-9]+$ ]] && [ "$after" -le 20 ] && [[ "$before" =~ ^[0-9]+$ ]] && [ "$before" -ge 200 ]'
  install_to_completion "$KPF_INSTALL1" || return
  kpf_click "$kpf_main" $KPF_COMPLETE
  kpf_wait_setup_end 5
  check "the picked folder with spaces reaches the package verbatim" \
    '[ "$(package_parameters "$(kpf_drive_c)/Demo Apps/Kai Pu/KPCapture/KPCapture/install.log")" = "-instdir=$folder\\KPCapture -dsc=true" ]'
  check_installed "Demo Apps/Kai Pu/KPCapture/KPCapture"
  sleep 1
  check "立即体验 starts the application from the picked folder" \
    "ps -eo args | grep -qF 'C:\\Demo Apps\\Kai Pu\\KPCapture\\KPCapture\\KPApp.exe'"
}

# --- retry: no server, then a server --------------------------------------------------------------
scenario_retry() {
  begin retry || return
  kpf_stop_server
  kpf_start_setup "$kpf_work/retry-setup.log" || { fail "the main window did not appear"; return; }
  shot welcome >/dev/null
  kpf_click "$kpf_main" $KPF_INSTALL
  local box
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 20); then
    sleep 1
    expect_question download failure-question "a refused connection"
    check "no package was started" '[ -z "$(find "$(kpf_drive_c)" -name install.log 2>/dev/null)" ]'
    kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
    kpf_click "$box" $KPF_BOX_OK
    check "the failure question goes away on OK" 'kpf_wait_no_window "$KPF_BOX_SIZE" 10'
    sleep 0.3
    check "OK on the failure question shows the welcome page" 'page_is 0 after-ok'
    check "nothing was fetched before 立即安装 is clicked again" '[ "$(package_requests)" = 0 ]'
    install_to_completion "$KPF_INSTALL" || return
    check "the second 立即安装 really downloaded" '[ "$(package_requests)" = 1 ]'
    kpf_wait_setup_end 8
    check_installed "$default_app"
  else
    fail "no failure question"
    shot no-question >/dev/null
  fi
}

# --- http404: an error page instead of the package ----------------------------------------------
scenario_http404() {
  begin http404 || return
  kpf_start_server "$port" "$requests" "$certs" --serve "/somewhere/else.exe=$package" || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/http404-setup.log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  local box
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 20); then
    sleep 1
    expect_question download failure-question "an HTTP 404"
    check "three attempts were made" '[ "$(package_requests)" = 3 ]'
    check "the error page was not started as a package" '[ -z "$(find "$(kpf_drive_c)" -name install.log 2>/dev/null)" ]'
    check "no downloaded file is left" '[ -z "$(downloaded_packages)" ]'
    check "the status file still says not done" '[ "$(kpf_active)" = 0 ]'
    kpf_click "$box" $KPF_BOX_CANCEL
    check "the failure question goes away on 取消" 'kpf_wait_no_window "$KPF_BOX_SIZE" 10'
    sleep 0.3
    check "取消 leaves the progress page at 0 %" 'page_is 2 after-cancel'
    kpf_click "$kpf_main" $KPF_CLOSE
    if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
      sleep 0.5
      local before
      before=$(date +%s%N)
      kpf_click "$box" $KPF_BOX_OK
      check "the close question's 确定 ends the program with exit code 0" \
        'kpf_wait_setup_end 5 && [ "$kpf_setup_code" = 0 ]'
      echo "  (ended $((($(date +%s%N) - before) / 1000000)) ms after the click on 确定)"
    else
      fail "no close question"
    fi
  else
    fail "no failure question"
    shot no-question >/dev/null
  fi
}

# --- closing: the window closed during a slow download ------------------------------------------
scenario_closing() {
  begin closing || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" rate=200000) || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/closing-setup.log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  sleep 3
  shot downloading >/dev/null
  check "the download is under way" '[ "$(package_requests)" = 1 ]'
  kpf_click "$kpf_main" $KPF_CLOSE
  local box
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.5
    local before
    before=$(date +%s%N)
    kpf_click "$box" $KPF_BOX_OK
    check "closing during the download ends the program within 5 s" 'kpf_wait_setup_end 5'
    check "... with exit code 0" '[ "${kpf_setup_code:-x}" = 0 ]'
    echo "  (ended $((($(date +%s%N) - before) / 1000000)) ms after the click on 确定)"
    check "the abandoned download leaves no file" '[ -z "$(downloaded_packages)" ]'
    check "no package was started" '[ -z "$(find "$(kpf_drive_c)" -name install.log 2>/dev/null)" ]'
  else
    fail "no close question"
  fi
}

# --- the questions after a failed attempt ------------------------------------------------------
# The question of KIND (download, verification, start, incomplete, statusfile, notinstalled) drawn by
# kp_question_reference
# with the words of that kind, once per run: "<picture> <area of its title and message>".
question_reference() {
  local kind=$1 name="flow-question-$1-$kpf_arch" cache="$kpf_work/question-$1.ref" area
  if [ ! -s "$cache" ]; then
    area=$("$kpf_build/wine-run.sh" "$question_tool" "$kind" "$name" </dev/null 2>>"$kpf_work/reference.log" | tr -d '\r')
    [[ "$area" =~ ^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$ ]] && [ -s "$kpf_build/screenshots/$name.png" ] || return 1
    echo "$kpf_build/screenshots/$name.png $area" >"$cache"
  fi
  cat "$cache"
}
# Pixels of the title and message that differ (beyond a small tolerance) between a picture of the
# question box and the reference of KIND.
question_differing() {
  local reference area n
  read -r reference area < <(question_reference "$2") || { echo none; return; }
  convert "$1" -crop "$area" +repage "$kpf_work/question-shown.png" &&
    convert "$reference" -background black -flatten -crop "$area" +repage "$kpf_work/question-reference.png" &&
    { n=$(compare -metric AE -fuzz 10% "$kpf_work/question-shown.png" "$kpf_work/question-reference.png" null: 2>&1)
      echo "${n%% *}"; }
}
# expect_question KIND NAME WHAT: the box in $box shows the question of KIND: its words match that
# reference but for a few pixels, and differ from every other kind's in hundreds.
expect_question() {
  local picture="$shots/$scenario-$2.png" k n ok=1 summary=""
  kpf_shot "$picture" "$box"
  for k in download verification start incomplete statusfile notinstalled; do
    n=$(question_differing "$picture" "$k")
    summary="$summary $k=$n"
    if [ "$k" = "$1" ]; then
      { [[ "$n" =~ ^[0-9]+$ ]] && [ "$n" -le 20 ]; } || ok=0
    else
      { [[ "$n" =~ ^[0-9]+$ ]] && [ "$n" -ge 100 ]; } || ok=0
    fi
  done
  echo "  (question words, pixels differing from each kind's reference:$summary)"
  check "$3 ends in the question of a $1 failure" '[ "$ok" = 1 ]'
}

# attempt_fails KIND WHAT NAME [BUTTON [SECONDS]]: 立即安装 (of the welcome page unless BUTTON says
# otherwise) ends in the question of KIND with nothing installed and no package left; OK leads back
# to the welcome page.
attempt_fails() {
  local box
  kpf_click "$kpf_main" ${4:-$KPF_INSTALL}
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" "${5:-30}"); then
    sleep 1
    expect_question "$1" "$3" "$2"
    check "nothing was installed and no package is left after $2" 'nothing_started && [ -z "$(downloaded_packages)" ]'
    kpf_click "$box" $KPF_BOX_OK
    kpf_wait_no_window "$KPF_BOX_SIZE" 10
    sleep 0.3
    check "back on the welcome page after $2" "page_is 0 after-$3"
  else
    fail "no failure question after $2"
    shot "no-question-$3" >/dev/null
  fi
}

# --- badinput: a truncated package, an untrusted certificate, then the real thing ---------------
scenario_badinput() {
  begin badinput || return
  local size untrusted="$kpf_work/untrusted-ca"
  size=$(stat -c %s "$package")
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" truncate=$((size / 2))) || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/badinput-setup.log" || { fail "the main window did not appear"; return; }
  attempt_fails download "a package cut off halfway" truncated
  check "the truncated package was tried three times" '[ "$(package_requests)" = 3 ]'

  # A certificate of another CA, trusted nowhere.
  "$kpf_root/tools/make-test-ca.sh" "$untrusted" || { fail "no second CA"; return; }
  kpf_start_server "$port" "$requests" "$untrusted" $(kpf_package_route "$package") || { fail "no server"; return; }
  attempt_fails download "an untrusted certificate" untrusted
  check "no package was fetched over the untrusted connection" '[ "$(package_requests)" = 0 ]'

  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  install_to_completion "$KPF_INSTALL" || return
  kpf_wait_setup_end 8
  check_installed "$default_app"
}

# --- hostile: error statuses with the genuine package, packages that do not verify, a stall ------
scenario_hostile() {
  begin hostile || return
  local size unsigned="${package%.exe}-unsigned.exe" tampered="${package%.exe}-tampered.exe" foreign="${package%.exe}-foreign.exe"
  size=$(stat -c %s "$package")
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" status=404) || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/hostile-setup.log" || { fail "the main window did not appear"; return; }
  # Options chosen before the first failure must reach the package of the last attempt.
  kpf_click "$kpf_main" $KPF_CUSTOM
  kpf_click "$kpf_main" $KPF_DESKTOP_BOX
  attempt_fails download "an HTTP 404 whose body is the genuine package" http404-genuine "$KPF_INSTALL1"
  check "... after three attempts" '[ "$(package_requests)" = 3 ]'
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" status=500) || { fail "no server"; return; }
  attempt_fails download "an HTTP 500 whose body is the genuine package" http500-genuine
  check "... after three attempts" '[ "$(package_requests)" = 3 ]'
  local name
  for name in unsigned tampered foreign; do
    local file=$unsigned what="an unsigned package"
    [ $name = tampered ] && { file=$tampered; what="a package changed by one byte after signing"; }
    [ $name = foreign ] && { file=$foreign; what="a package signed by a key that is not pinned"; }
    kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$file") || { fail "no server"; return; }
    attempt_fails verification "$what" "$name"
    check "... fetched once" '[ "$(package_requests)" = 1 ]'
  done
  # A server that falls silent halfway through once: that attempt is given up after 30 s without a
  # byte, and the next one installs.
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" "stall=$((size / 2)),only=1") ||
    { fail "no server"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  if kpf_wait_active 1 75; then
    pass "a stalled transfer is given up and the next attempt installs"
  else
    fail "the install after a stalled transfer did not complete"
    shot stuck >/dev/null
    return
  fi
  check "... on its second request" '[ "$(package_requests)" = 2 ]'
  kpf_wait_setup_end 10
  check "the desktop choice made before the first failure reached the package (-dsc=false)" \
    '[ "$(package_parameters "$(kpf_drive_c)/$default_app/install.log")" = "-instdir=$default_dir -dsc=false" ]'
  check "no package is left once the installer has ended" '[ -z "$(downloaded_packages)" ]'
  check_installed "$default_app"
}

# --- swap: another process replaces the package after the transfer ------------------------------
# The installer is told to pause 3 s between the transfer and the check, and 5 s between the check
# and the start, so that the attacker's moments are certain. Before the check the replacement is
# found out (on Windows only an administrator could even write there); after the check the file is
# held, and every try fails.
scenario_swap() {
  begin swap || return
  local size root='C:\ProgramData\KPCapture' foreign
  size=$(stat -c %s "$package")
  foreign=$(kpf_windows_path "${package%.exe}-foreign.exe")
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  KPSETUP_PAUSE_BEFORE_CHECK_MS_FOR_TESTING=3000 KPSETUP_PAUSE_BEFORE_START_MS_FOR_TESTING=5000 \
    kpf_start_setup "$kpf_work/swap-setup.log" || { fail "the main window did not appear"; return; }
  "$kpf_wine64" "$swap_tool" "$root" "$foreign" "$size" 0 2500 </dev/null >"$kpf_work/swap-before.log" 2>&1 &
  local attacker=$!
  attempt_fails verification "a package replaced before the check" replaced-before-check
  wait "$attacker"
  echo "  (the other process: $(tr -d '\r' <"$kpf_work/swap-before.log"))"
  check "... which the other process did replace" 'grep -q "^replaced" "$kpf_work/swap-before.log"'

  "$kpf_wine64" "$swap_tool" "$root" "$foreign" "$size" 4000 2500 </dev/null >"$kpf_work/swap-held.log" 2>&1 &
  attacker=$!
  install_to_completion "$KPF_INSTALL" || return
  wait "$attacker"
  echo "  (the other process: $(tr -d '\r' <"$kpf_work/swap-held.log"))"
  # Writing over it meets a sharing violation (32); moving another file over it is refused too.
  check "the checked package could be neither written to nor replaced while held" \
    'grep -qE "^refused [1-9][0-9]* times \(write error 32, move error [1-9][0-9]*\)" "$kpf_work/swap-held.log"'
  kpf_wait_setup_end 10
  check "no package is left once the installer has ended" '[ -z "$(downloaded_packages)" ]'
  check_installed "$default_app"
}

# scheduled_at_restart PATHS PENDING: each of PATHS (one a line) is named in PENDING, the list of
# files Windows removes at its next start.
scheduled_at_restart() {
  local f
  while IFS= read -r f; do
    [ -z "$f" ] || grep -qF "$(basename "$f")" <<<"$2" || return 1
  done <<<"$1"
}

# --- package: a package that fails without completing, then one that hands over to a child -------
scenario_package() {
  begin package || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  KPDEMO_PACKAGE_MODE=fail kpf_start_setup "$kpf_work/package-fail-setup.log" || { fail "the main window did not appear"; return; }
  attempt_fails incomplete "a package that exits with an error without writing \"1\"" exits-early
  kpf_end_prefix
  # The first process exits at once; its child installs and writes "1" 4 s later, after the time
  # the installer grants once everything has ended: only following the child keeps the install going.
  KPDEMO_PACKAGE_MODE=handover kpf_start_setup "$kpf_work/package-handover-setup.log" ||
    { fail "the main window did not appear"; return; }
  install_to_completion "$KPF_INSTALL" || return
  pass "a package that hands over to a child process completes"
  kpf_wait_setup_end 10
  check "no package is left once the installer has ended" '[ -z "$(downloaded_packages)" ]'
  check_installed "$default_app"

  # Closed while the handed-over child still installs: the installer ends without stopping the
  # package, which completes by itself; whatever of its folder is still in use then is left for
  # Windows to remove at the next start.
  kpf_end_prefix
  KPDEMO_PACKAGE_MODE=handover kpf_start_setup "$kpf_work/package-close-setup.log" ||
    { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  for _ in $(seq 1 100); do [ -n "$(find "$(package_root)" -name '*.exe' 2>/dev/null)" ] && break; sleep 0.1; done
  sleep 1.5
  check "the package's child is still installing when the window is closed" '[ "$(kpf_active)" = 0 ]'
  kpf_click "$kpf_main" $KPF_CLOSE
  local box
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.5
    kpf_click "$box" $KPF_BOX_OK
    check "closing during the install ends the program" 'kpf_wait_setup_end 5'
    check "the package goes on and completes by itself" 'kpf_wait_active 1 20'
    local left pending
    left=$(find "$(package_root)" -mindepth 1 2>/dev/null)
    pending=$("$kpf_wine64" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
      /v PendingFileRenameOperations </dev/null 2>/dev/null | tr -d '\r')
    echo "  (left in the package root at the close: ${left:-nothing})"
    check "whatever of the package was left at the close is to be removed at the next start" \
      'scheduled_at_restart "$left" "$pending"'
  else
    fail "no close question"
  fi
}

# --- outside: closes from another process, Alt+F4 on a question --------------------------------
# Another process closes the main window as "End task" does (WM_CLOSE from outside).
post_close() { "$kpf_wine64" "$post_close_tool" "$@" </dev/null >>"$kpf_work/post-close.log" 2>&1; }
ended_cleanly() {  # LOG: ended within 5 s, with exit code 0 and no fault in its log
  kpf_wait_setup_end 5 && [ "${kpf_setup_code:-x}" = 0 ] && ! grep -qi "page fault\|unhandled" "$1"
}

scenario_outside() {
  begin outside || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  local box log="$kpf_work/outside-question-setup.log"
  kpf_start_setup "$log" || { fail "the main window did not appear"; return; }
  # Alt+F4 on the close question (its system command, given by another process): the box goes
  # and the installer's window is in the foreground again.
  kpf_click "$kpf_main" $KPF_CLOSE
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.5
    post_close altf4
    check "Alt+F4 closes the question and the main window, still open, is in the foreground again" \
      '[ "$(tail -n 1 "$kpf_work/post-close.log" | tr -d "\r")" = "foreground: main window" ] && setup_running'
  else
    fail "no close question"
  fi
  # The question again; this time another process closes the main window under it.
  kpf_click "$kpf_main" $KPF_CLOSE
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.5
    post_close
    check "a close from another process over the close question ends the program cleanly" 'ended_cleanly "$log"'
  else
    fail "no close question"
  fi
  kpf_end_prefix

  # Over the completion page's close question: the question goes, and the product is registered.
  log="$kpf_work/outside-complete-setup.log"
  kpf_start_setup "$log" || { fail "the main window did not appear"; return; }
  install_to_completion "$KPF_INSTALL" || return
  kpf_click "$kpf_main" $KPF_CLOSE
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    # The session ends first (the process would be ended right after): the product is registered.
    post_close endsession
    check "the end of the session registers the product at once" 'has_uninstall_entry && setup_running'
    post_close
    check "a close from another process over the completion page's question ends the program cleanly" \
      'ended_cleanly "$log"'
    check_installed "$default_app"
  else
    fail "no close question on the completion page"
  fi
  kpf_end_prefix

  # The progress page's close question, open while the package completes, answered 确定: the
  # product is registered before the window goes.
  log="$kpf_work/outside-progress-setup.log"
  KPDEMO_PACKAGE_MODE=handover kpf_start_setup "$log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  for _ in $(seq 1 100); do [ -n "$(find "$(package_root)" -name '*.exe' 2>/dev/null)" ] && break; sleep 0.1; done
  sleep 1
  kpf_click "$kpf_main" $KPF_CLOSE
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    check "the package completes while the close question is open" 'kpf_wait_active 1 20'
    sleep 0.5
    kpf_click "$box" $KPF_BOX_OK
    check "确定 ends the program cleanly" 'ended_cleanly "$log"'
    check_installed "$default_app"
  else
    fail "no close question on the progress page"
  fi
}

# --- dpi: the display scale changes during a download ---------------------------------------------
# dpi_change N: WM_DPICHANGED for N DPI from another process; the window's size afterwards.
dpi_change() { "$kpf_wine64" "$post_close_tool" dpi "$1" </dev/null 2>>"$kpf_work/post-close.log" | tr -d '\r'; }

scenario_dpi() {
  begin dpi || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" rate=200000) || { fail "no server"; return; }
  local log="$kpf_work/dpi-setup.log" size n before
  kpf_start_setup "$log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_INSTALL
  sleep 2
  shot before >/dev/null
  for n in 144 192 96; do
    size=$(dpi_change "$n")
    check "at $n DPI the window takes the suggested size" '[ "$size" = "$((700 * n / 96))x$((420 * n / 96))" ]'
  done
  sleep 1.5
  shot after >/dev/null
  before=$(compare -metric AE -fuzz 10% "$shots/dpi-before.png" "$shots/dpi-after.png" null: 2>&1)
  echo "  (pixels that differ at 96 DPI before and after the round trip, the progress excepted: ${before%% *})"
  check "back at 96 DPI the progress page looks as before (but for its progress)" \
    '[[ "${before%% *}" =~ ^[0-9]+$ ]] && [ "${before%% *}" -le 2000 ]'
  check "the download went on meanwhile" '[ "$(package_requests)" = 1 ] && setup_running'
  local start
  start=$(date +%s%N)
  post_close
  check "closed from another process during the download, it ends cleanly" 'ended_cleanly "$log"'
  echo "  (ended $((($(date +%s%N) - start) / 1000000)) ms after the close was posted)"
  check "the abandoned download leaves no file" '[ -z "$(downloaded_packages)" ]'
}

. "$kpf_root/tools/e2e/access-scenario.sh"
. "$kpf_root/tools/e2e/flow-local.sh"

for s in "${scenarios[@]}"; do
  "scenario_$s"
  kpf_stop_server
  kpf_end_prefix
done
rm -rf "$prefix"
echo "pictures: $shots"
if [ "$failures" = 0 ]; then echo "flow e2e: all passed"; else echo "flow e2e: $failures failed"; fi
[ "$failures" = 0 ]
