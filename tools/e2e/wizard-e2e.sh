#!/usr/bin/env bash
# End-to-end test of the real KPSetup.exe under Wine on a private X server, clicked with xdotool:
#   welcome -> custom install -> back; the agreement box disabling both ways on; the close question
#   answered with Cancel, with the box's close button and with OK (exit code 0); minimise.
# Every state is saved as a screenshot in BUILD/e2e-<arch>/shots and checked by comparing pixels of
# the window with the screenshot of the welcome page.
#   wizard-e2e.sh BUILD_DIR KPSetup.exe
# KPSetup.exe may be the 64-bit test build or the shipped 32-bit program (run as on 64-bit
# Windows); on a machine that cannot run 32-bit programs the latter is skipped (exit code 77).
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/tools/xvfb.sh"
# Finding, waiting for and placing the installer's windows (kpf_find_window and the rest).
kpf_root=$root
. "$root/tools/e2e/flow-lib.sh"
[ -f "$2" ] || { echo "FAIL: $2 is not built"; exit 1; }
kpf_select_exe "$2" || { echo "FAIL: $2 is no KPSetup.exe to test"; exit 1; }
kpf_skip_unless_runnable
exe=$kpf_exe
wine=$kpf_wine
echo "testing $exe ($kpf_arch)"
work="$build/e2e-$kpf_arch"
shots="$work/shots"
rm -rf "$shots"
mkdir -p "$shots"

export WINEPREFIX="$work/wineprefix"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$root/tools/wine-prefix.sh" "$WINEPREFIX" 96 || { echo "FAIL: no Wine prefix"; exit 1; }

setup_pid=""
cleanup() {
  [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null
  kp_stop_xvfb
}
trap cleanup EXIT
kp_start_xvfb || { echo "FAIL: no X server"; exit 1; }
"$kpf_wine64" wineboot </dev/null >/dev/null 2>&1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- Windows, clicks, pictures ---------------------------------------------------------------
# click WINDOW X Y: a click at client point (X, Y) of the window; then the pointer leaves it, so
# no hover state stays in the pictures.
click() {
  local x0 y0
  read -r x0 y0 < <(kpf_origin "$1")
  xdotool mousemove $((x0 + $2)) $((y0 + $3))
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
  xdotool mousemove 5 5
  sleep 0.4
}
shot() { import -window root "$shots/$1.png"; }
# The main window's area of a screenshot.
crop() {
  local x0 y0
  read -r x0 y0 < <(kpf_origin "$main")
  convert "$shots/$1.png" -crop "700x420+$x0+$y0" +repage "$shots/$1.main.png"
}
# Pixels of the main window that differ between two screenshots (beyond a small tolerance).
differ() { compare -metric AE -fuzz 8% "$shots/$1.main.png" "$shots/$2.main.png" null: 2>&1 | sed 's/ .*//'; }
brightness() { convert "$shots/$1.main.png" -colorspace Gray -format '%[fx:int(mean*1000)]' info:; }
# differs_by A B BELOW|ABOVE LIMIT: prints how many pixels of picture B differ from A and succeeds
# when that is below or above LIMIT. Until it is, B (always the latest picture) is taken again for up
# to 10 s, as a busy machine may draw a page change late; a picture that already matches counts at once.
differs_by() {
  local n held deadline=$((SECONDS + 10))
  while :; do
    n=$(differ "$1" "$2")
    if [ "$3" = BELOW ]; then [ "${n%.*}" -lt "$4" ]; else [ "${n%.*}" -gt "$4" ]; fi
    held=$?
    [ "$held" = 0 ] || [ "$SECONDS" -ge "$deadline" ] && break
    sleep 0.3
    shot "$2"
    crop "$2"
  done
  echo "$n"
  return "$held"
}
same_as() {  # same_as A B WHAT: the two pictures of the main window show the same page
  local n
  if n=$(differs_by "$1" "$2" BELOW 1500); then pass "$3 ($n pixels differ)"; else fail "$3: $n pixels differ"; fi
}
other_than() {
  local n
  if n=$(differs_by "$1" "$2" ABOVE 20000); then pass "$3 ($n pixels differ)"; else fail "$3: only $n pixels differ"; fi
}
start_setup() {
  (cd "$(dirname "$exe")" && exec "$wine" "$(basename "$exe")") </dev/null >"$work/setup.log" 2>&1 &
  setup_pid=$!
  main=$(kpf_wait_window 700x420 60) || { fail "the main window did not appear"; return 1; }
  sleep 1
}

# Client points of the controls at 96 DPI (layout units).
INSTALL="350 286"; PROTOCOL_BOX="38 388"; CUSTOM="629 386"; CLOSE="679 21"; MINIMISE="648 21"; BACK="40 22"
BOX_OK="243 163"; BOX_CANCEL="347 163"; BOX_CLOSE="394 23"

# --- Run 1: pages, agreement, the close question refused twice, minimise ---------------------
if start_setup; then
  shot 01-welcome; crop 01-welcome

  click "$main" $CUSTOM; shot 02-options; crop 02-options
  other_than 01-welcome 02-options "custom install shows the options page"
  click "$main" $BACK; shot 03-back; crop 03-back
  same_as 01-welcome 03-back "back shows the welcome page again"

  click "$main" $PROTOCOL_BOX; shot 04-agreement-cleared; crop 04-agreement-cleared
  if n=$(differs_by 01-welcome 04-agreement-cleared ABOVE 20); then pass "the agreement box clears ($n pixels)"; else fail "the agreement box did not change"; fi
  click "$main" $INSTALL; shot 05-install-disabled; crop 05-install-disabled
  same_as 04-agreement-cleared 05-install-disabled "a disabled 立即安装 does nothing"
  click "$main" $CUSTOM; shot 06-custom-disabled; crop 06-custom-disabled
  same_as 04-agreement-cleared 06-custom-disabled "a disabled custom link does nothing"
  click "$main" $PROTOCOL_BOX; shot 07-agreement-again; crop 07-agreement-again
  same_as 01-welcome 07-agreement-again "the agreement box selected again"

  for answer in cancel close; do
    click "$main" $CLOSE
    if box=$(kpf_wait_window 417x212 10); then
      sleep 1  # its first frame
      shot "08-question-$answer"; crop "08-question-$answer"
      read -r bx by < <(kpf_origin "$box")
      drawn=$(convert "$shots/08-question-$answer.png" -crop "417x212+$bx+$by" +repage -colorspace Gray \
                -format '%[fx:int(mean*1000)]' info:)
      if [ "$drawn" -gt 40 ]; then pass "the question box is drawn ($drawn)"; else fail "the question box is blank ($drawn)"; fi
      before=$(brightness 01-welcome); during=$(brightness "08-question-$answer")
      if [ "$during" -lt "$before" ]; then pass "the window is dimmed behind the question ($before -> $during)"
      else fail "no dimming behind the question ($before -> $during)"; fi
      if [ "$answer" = cancel ]; then click "$box" $BOX_CANCEL; else click "$box" $BOX_CLOSE; fi
      if kpf_wait_no_window 417x212; then pass "the question answered with $answer went away"; else fail "the question stayed after $answer"; fi
      shot "09-after-$answer"; crop "09-after-$answer"
      if kpf_find_window 700x420 >/dev/null; then pass "$answer keeps the window open"; else fail "$answer closed the window"; fi
      same_as 01-welcome "09-after-$answer" "the dimming is gone after $answer"
    else
      fail "the close question did not appear ($answer)"
    fi
  done

  # Without a window manager the X window stays on the screen; Wine marks it iconic in its hints.
  if xprop -id "$main" WM_HINTS | grep -q 'Iconic State'; then fail "iconic before minimising"; fi
  click "$main" $MINIMISE
  sleep 0.5
  shot 10-minimised
  if xprop -id "$main" WM_HINTS | grep -q 'Iconic State'; then pass "minimise makes the window iconic"
  else fail "minimise did not make the window iconic"; fi
  if kill -0 "$setup_pid" 2>/dev/null; then pass "the program still runs while minimised"; else fail "minimising ended the program"; fi
  kill "$setup_pid" 2>/dev/null; wait "$setup_pid" 2>/dev/null; setup_pid=""
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -w
fi

# --- Run 2: the close question answered with OK ends the program with exit code 0 -------------
if start_setup; then
  click "$main" $CLOSE
  if box=$(kpf_wait_window 417x212 10); then
    sleep 1
    shot 11-question-ok
    click "$box" $BOX_OK
    for i in $(seq 1 100); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$setup_pid" 2>/dev/null; then
      fail "OK did not end the program"
    else
      wait "$setup_pid"; code=$?; setup_pid=""
      if [ "$code" = 0 ]; then pass "OK closes the window and the program exits with 0"; else fail "exit code $code after OK"; fi
    fi
    shot 12-closed
  else
    fail "the close question did not appear (OK)"
  fi
fi

echo "screenshots: $shots"
echo "$failures failed"
[ "$failures" = 0 ]
