# The scenario "access" of flow-e2e.sh (sourced by it): the installer read by a screen reader,
# kp_access_client, from another process, and driven by the keyboard alone.
#   welcome page tree (focus on 立即安装, places in screen pixels) -> Tab / Shift+Tab move the focus
#   and draw the ring -> Enter on 关闭 opens the close question, read as a dialog, focus on 确定 ->
#   its 取消 run by the reader: the objects the reader still holds answer an error -> 立即安装 run by
#   the reader starts the install; its object, held over the page change, reads invisible -> the
#   progress bar's value rises -> the completion page's tree -> the window closes by itself.

access_client="$kpf_build/tests/e2e/kp_access_client.exe"
access() { "$kpf_wine64" "$access_client" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The tree's lines without their screen places.
without_places() { sed 's/ @[-0-9]*,[-0-9]*,[0-9]*,[0-9]*$//' "$1"; }
same_tree() {  # same_tree FILE EXPECTED
  diff <(without_places "$1") <(printf '%s\n' "$2") >"$1.diff" || { cat "$1.diff"; return 1; }
}
key() { xdotool key --delay 150 "$@"; sleep 0.5; }
# The colour of client point X Y of the picture FILE, as RRGGBB.
colour_at() { convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'; }
near_ring_colour() {  # the focus ring's #6CB6FF, give or take a few levels per channel
  local c=$1
  [ -n "$c" ] && [ $((16#${c:0:2})) -ge 98 ] && [ $((16#${c:0:2})) -le 118 ] && [ $((16#${c:2:2})) -ge 172 ] &&
    [ $((16#${c:2:2})) -le 192 ] && [ $((16#${c:4:2})) -ge 240 ]
}

scenario_access() {
  begin access || return
  [ -f "$access_client" ] || { fail "$access_client is not built"; return; }
  # About four seconds of download, so that the reader sees the bar move.
  kpf_start_server "$port" "$requests" "$certs" $(kpf_package_route "$package" rate=1500000) || { fail "no server"; return; }
  kpf_start_setup "$kpf_work/access-setup.log" || { fail "the main window did not appear"; return; }
  local t="$kpf_work/access" x0 y0
  read -r x0 y0 < <(kpf_origin "$kpf_main")

  access tree kpmainframe >"$t-welcome.txt"
  check "the welcome page reads as its controls, the focus on 立即安装" 'same_tree "$t-welcome.txt" "client \"凯普视频工坊\" [focusable]
  push button \"最小化\" [focusable] action=\"按下\"
  push button \"关闭\" [focusable] action=\"按下\"
  push button \"立即安装\" [focused,focusable] action=\"按下\"
  check button \"同意《用户协议》\" [focusable,checked] action=\"取消勾选\"
  link \"同意《用户协议》\" [focusable] action=\"跳转\"
  link \"自定义安装 >\" [focusable] action=\"跳转\""'
  check "立即安装 is where it is drawn, in screen pixels" \
    'grep -q "\"立即安装\".* @$((x0 + 246)),$((y0 + 264)),208,44\$" "$t-welcome.txt"'
  check "no focus ring before the keyboard is used" '! near_ring_colour "$(colour_at "$(shot no-ring)" 350 261)"'

  key Tab
  key shift+Tab
  local picture
  picture=$(shot ring)
  check "Tab and Shift+Tab come back to 立即安装, which shows the focus ring" \
    'near_ring_colour "$(colour_at "$picture" 350 261)" && near_ring_colour "$(colour_at "$picture" 243 286)"'
  key shift+Tab shift+Tab shift+Tab
  access tree kpmainframe >"$t-keys.txt"
  check "Shift+Tab goes back past 最小化 and wraps around to the last stop" \
    'grep -q "^  link \"自定义安装 >\" \[focused,focusable\]" "$t-keys.txt"'
  key Tab Tab
  key Return
  local box
  if box=$(kpf_wait_window "$KPF_BOX_SIZE" 10); then
    sleep 0.8
    access tree kpmsgbox >"$t-question.txt"
    check "Enter on 关闭 asks; the question reads as a dialog with its title and message, focus on 确定" \
      'same_tree "$t-question.txt" "dialog \"确定关闭？\" [focusable] description=\"关闭后将中断安装流程\"
  push button \"关闭\" [focusable] action=\"按下\"
  graphic \"提示\" []
  static text \"确定关闭？\" []
  static text \"关闭后将中断安装流程\" []
  push button \"确定\" [focused,focusable] action=\"按下\"
  push button \"取消\" [focusable] action=\"按下\""'
    picture=$(kpf_shot "$shots/access-question.png" "$box"; echo "$shots/access-question.png")
    check "the question opened by the keyboard shows the ring around 确定" \
      'near_ring_colour "$(colour_at "$picture" 243 141)"'
    access stale kpmsgbox 取消 >"$t-question-gone.txt"
    check "取消 run by the reader answers the question, the window stays" \
      'grep -q "^window: closed" "$t-question-gone.txt" && kpf_wait_no_window "$KPF_BOX_SIZE" 5 && setup_running'
    check "objects of the closed question answer CO_E_OBJNOTCONNECTED" \
      'grep -q "^held child: error 0x800401FD" "$t-question-gone.txt" &&
       grep -q "^held client: 0x800401FD" "$t-question-gone.txt"'
  else
    fail "Enter on 关闭 did not ask"
  fi

  access stale kpmainframe 立即安装 >"$t-install.txt"
  check "立即安装 run by the reader starts the install; its object held over the page change reads invisible" \
    'grep -q "^held child: push button \"立即安装\" \[invisible\]" "$t-install.txt" && page_is 2 access-progress'
  access watch kpmainframe 安装进度 60 >"$t-progress.txt"
  local values
  values=$(sed -n 's/^value \([0-9]*\)%$/\1/p' "$t-progress.txt" | tr '\n' ' ')
  echo "  (progress values read: $values)"
  check "the progress bar reads with its value" \
    'grep -q "^  progress bar \"安装进度\" \[\] value=\"[0-9]*%\"" "$t-progress.txt"'
  check "the value the reader follows rises" \
    '[ "$(echo $values | wc -w)" -ge 3 ] && [ "$(echo $values | tr " " "\n" | sort -n | tr "\n" " ")" = "$values" ]'
  check "the completion page reads as its controls, the focus on 立即体验" \
    'sed -n "/^then:/,\$p" "$t-progress.txt" | tail -n +2 >"$t-complete.txt" && same_tree "$t-complete.txt" "client \"凯普视频工坊\" [focusable]
  push button \"最小化\" [focusable] action=\"按下\"
  push button \"关闭\" [focusable] action=\"按下\"
  push button \"立即体验\" [focused,focusable] action=\"按下\"
  static text \"安装完成\" []"'
  check "the completion page closes by itself with exit code 0, the product registered" \
    'kpf_wait_setup_end 10 && [ "$kpf_setup_code" = 0 ] && has_uninstall_entry'
}
