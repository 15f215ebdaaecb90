# Sourced by flow-e2e.sh: scenarios in which another process of the same user, or a web page that
# left files in the Downloads folder, tries to borrow the elevated installer's rights or to make it
# claim an installation that did not happen. Uses flow-e2e.sh's helpers (begin, check, attempt_fails...).
#
#   links      a symbolic link at %APPDATA%\KPCapture, then at its APP.ini: the status-file question,
#              nothing written through either link and nothing downloaded
#   claim      a package that writes "active" = "1" without installing anything: the question of an
#              application that is not there, nothing registered
#   planted    KPSetup.exe started from a Downloads folder at 125 % that also holds red images under
#              the skin's image names (plain and every DPI variant) and DLLs under the names of the
#              system DLLs the program loads: nothing planted is drawn or loaded, and it installs
#   badfolder  a folder named "x -dsc=false" picked on the options page: refused in a message box,
#              the folder chosen before stays and reaches the package with "-dsc=true"

# --- links -----------------------------------------------------------------------------------------
# refused_at_start WHAT NAME: 立即安装 ends at once in the status-file question with nothing
# installed; OK leads back to the welcome page. The question is asked while the click on 立即安装 is
# still being handled, so this also checks that the box takes its first click.
refused_at_start() {
  local box
  kpf_click "$kpf_main" $KPF_INSTALL
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 30); then
    sleep 1
    expect_question statusfile "$2" "$1"
    check "nothing was installed and no package is left after $1" 'nothing_started && [ -z "$(downloaded_packages)" ]'
    kpf_click "$box" $KPF_BOX_OK
    check "the question goes away on the first click on OK after $1" 'kpf_wait_no_window "$KPF_BOX_SIZE" 10'
    check "back on the welcome page after $1" "page_is 0 after-$2"
  else
    fail "no failure question after $1"
    shot "no-question-$2" >/dev/null
  fi
}
scenario_links() {
  begin links || return
  local roaming elsewhere victim before
  roaming=$(kpf_roaming)
  elsewhere="$(kpf_drive_c)/elsewhere"
  victim="$(kpf_drive_c)/victim.ini"
  mkdir -p "$elsewhere" "$(dirname "$roaming")"
  rm -rf "$roaming"
  ln -s "$elsewhere" "$roaming"
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/links-setup.log" || { fail "the main window did not appear"; return; }
  refused_at_start "a symbolic link at the status file's folder" folder-link
  check "nothing was written through the folder's link" '[ -z "$(ls -A "$elsewhere")" ]'
  check "nothing was downloaded" '[ "$(package_requests)" = 0 ]'
  kpf_end_prefix

  rm "$roaming"
  mkdir "$roaming"
  printf '[Install]\r\nactive=7\r\n' >"$victim"
  before=$(sha256sum <"$victim")
  ln -s "$victim" "$roaming/APP.ini"
  kpf_start_setup "$kpf_work/links-file-setup.log" || { fail "the main window did not appear"; return; }
  refused_at_start "a symbolic link at APP.ini" file-link
  check "nothing was written through APP.ini's link" '[ "$(sha256sum <"$victim")" = "$before" ]'
  check "still nothing downloaded" '[ "$(package_requests)" = 0 ]'
}

# --- claim -----------------------------------------------------------------------------------------
scenario_claim() {
  begin claim || return
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  KPDEMO_PACKAGE_MODE=claim kpf_start_setup "$kpf_work/claim-setup.log" || { fail "the main window did not appear"; return; }
  attempt_fails notinstalled "\"active\" = \"1\" with nothing installed" claimed
  check "the status file did say 1" '[ "$(kpf_active)" = 1 ]'
  check "nothing is registered" '! has_uninstall_entry && absent "$(start_menu)"'
}

# --- planted ---------------------------------------------------------------------------------------
# Client points of the main window at 125 %.
scaled() { echo $(($1 * 5 / 4)) $(($2 * 5 / 4)); }
# Pure red pixels in a picture.
red_pixels() {
  convert "$1" -fuzz 8% -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' -format '%[fx:int(mean*w*h+0.5)]' info:
}

scenario_planted() {
  scenario=planted
  echo "== planted"
  local base120="$kpf_work/prefix-base-120" downloads compiler skin dlls dll name shown
  kpf_base_prefix "$base120" "$certs/ca.pem" 120 || { fail "no prefix at 125 %"; return; }
  kpf_fresh_prefix "$base120" "$prefix" || { fail "no prefix"; return; }
  downloads="$(kpf_drive_c)/users/${USER:-$(id -un)}/Downloads"
  mkdir -p "$downloads"
  cp "$kpf_exe" "$downloads/KPSetup.exe"
  # Every image of the skin, plain and at each scale, as a red square where a relative path would
  # find it.
  skin="$kpf_build/skin/skin.zip"
  [ -s "$skin" ] || { fail "no skin archive in the build"; return; }
  convert -size 64x64 xc:'#FF0000' "$kpf_work/red.png"
  while IFS= read -r name; do
    for suffix in "" @1.25x @1.5x @1.75x @2x; do
      mkdir -p "$downloads/$(dirname "$name")"
      cp "$kpf_work/red.png" "$downloads/${name%.png}$suffix.png"
    done
  done < <("$kpf_python" -c 'import sys, zipfile, re
for n in zipfile.ZipFile(sys.argv[1]).namelist():
    if n.endswith(".png"): print(re.sub(r"@[0-9.]+x\.png$", ".png", n))' "$skin" | sort -u)
  if [ "$kpf_arch" = i686 ]; then compiler=i686-w64-mingw32-gcc; else compiler=x86_64-w64-mingw32-gcc; fi
  "$compiler" -shared -O1 -o "$kpf_work/marker.dll" "$kpf_root/tests/e2e/MarkerDll.c" ||
    { fail "the marker DLL could not be built"; return; }
  dlls="crypt32 gdiplus secur32 urlmon wininet wintrust comctl32"
  for dll in $dlls; do cp "$kpf_work/marker.dll" "$downloads/$dll.dll"; done

  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  local exe=$kpf_exe main_size=$KPF_MAIN_SIZE
  kpf_exe="$downloads/KPSetup.exe"
  KPF_MAIN_SIZE=875x525
  kpf_start_setup "$kpf_work/planted-setup.log"
  local started=$?
  kpf_exe=$exe
  KPF_MAIN_SIZE=$main_size
  [ "$started" = 0 ] || { fail "the main window did not appear at 125 %"; shot no-window >/dev/null; return; }
  shown=$(shot welcome)
  check "the welcome page draws nothing planted" '[ "$(red_pixels "$shown")" = 0 ]'
  kpf_click "$kpf_main" $(scaled $KPF_CUSTOM)
  shown=$(shot options)
  echo "  (red pixels on the options page: $(red_pixels "$shown"))"
  check "the options page draws nothing planted" '[ "$(red_pixels "$shown")" = 0 ]'
  kpf_click "$kpf_main" $(scaled $KPF_INSTALL1)
  if kpf_wait_active 1 40; then
    sleep 1
    shown=$(shot complete)
    echo "  (red pixels on the completion page: $(red_pixels "$shown"))"
    check "the completion page draws nothing planted" '[ "$(red_pixels "$shown")" = 0 ]'
    kpf_click "$kpf_main" $(scaled $KPF_COMPLETE)
    kpf_wait_setup_end 10
    check_installed "$default_app"
  else
    fail "the install from the Downloads folder never completed"
    shot stuck >/dev/null
  fi
  local loaded
  loaded=$(cd "$downloads" && ls ./*.loaded 2>/dev/null | tr '\n' ' ')
  check "no DLL planted beside the program was loaded${loaded:+ (loaded: $loaded)}" '[ -z "$loaded" ]'
}

# --- badfolder -------------------------------------------------------------------------------------
scenario_badfolder() {
  begin badfolder || return
  local box before after
  mkdir -p "$(kpf_drive_c)/x -dsc=false"
  draw_reference "$default_dir" || { fail "no reference drawing of the options page: $(cat "$kpf_work/reference.log")"; return; }
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package") || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/badfolder-setup.log" || { fail "the main window did not appear"; return; }
  kpf_click "$kpf_main" $KPF_CUSTOM
  before=$(path_pixels_differing "$(shot options-before)")
  kpf_click "$kpf_main" $KPF_MODIFY
  local i
  for i in $(seq 1 50); do xdotool search --onlyvisible --name 'Browse for Folder' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  kpf_pick_demo_folder 'x -dsc=false' '' || { fail "the folder dialog did not open"; return; }
  cp "$kpf_work/folder-dialog.png" "$shots/badfolder-dialog.png"
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.5
    kpf_shot "$shots/badfolder-refusal.png" "$box"
    pass "the folder C:\\x -dsc=false is refused in a message box"
    # A box that only tells has its one button where a question has "取消".
    kpf_click "$box" $KPF_BOX_CANCEL
    kpf_wait_no_window "$KPF_BOX_SIZE" 10
    sleep 0.3
  else
    fail "no message box refused C:\\x -dsc=false"
  fi
  after=$(path_pixels_differing "$(shot options-after)")
  echo "  (path label pixels differing from the default folder's drawing: $before before, $after after)"
  check "the options page still shows the default folder" \
    '[[ "$after" =~ ^[0-9]+$ ]] && [ "$after" -le 20 ] && [ "$after" = "$before" ]'
  install_to_completion "$KPF_INSTALL1" || return
  check "the package is given the default folder and -dsc=true" \
    '[ "$(package_parameters "$(kpf_drive_c)/$default_app/install.log")" = "-instdir=$default_dir -dsc=true" ]'
}
