# Sourced by tools/demo.sh and tools/e2e/flow-e2e.sh: runs KPSetup.exe under Wine against the local
# HTTPS package server with the demo package, and drives its windows with xdotool.
# tools/e2e/wizard-e2e.sh uses its window helpers (kpf_find_window, kpf_wait_window, kpf_origin...).
#
# Needs: kpf_root (the checkout), kpf_build (a MinGW x86_64 build folder with kp_demo_package and
# kp_trust_test_ca built), kpf_work (a folder for prefixes, logs and pictures), and
# kpf_select_exe called with the KPSetup.exe under test (32- or 64-bit).

# 64-bit Wine runs the helpers (reg, wineboot, the demo package's tools, the trust tool).
kpf_wine64=/usr/lib/wine/wine64
kpf_python=/usr/bin/python3
[ -x "$kpf_python" ] || kpf_python=python3
kpf_server_pid=""
kpf_setup_pid=""
kpf_main=""

# The package's place on the vendor's server, as the installer asks for it.
kpf_package_path="/openapi/download?ch=10009&app=10000"

# Client points of the controls at 96 DPI (layout units of KPMainFrame.xml and KPMsgBox.xml).
KPF_INSTALL="350 286"; KPF_CUSTOM="629 386"; KPF_CLOSE="679 21"; KPF_AGREEMENT="117 388"
KPF_INSTALL1="350 220"; KPF_DESKTOP_BOX="37 387"; KPF_MODIFY="617 98"; KPF_BACK="40 22"
KPF_COMPLETE="350 224"
KPF_BOX_OK="243 163"; KPF_BOX_CANCEL="347 163"
KPF_MAIN_SIZE=700x420; KPF_BOX_SIZE=417x212

kpf_windows_path() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# The architecture of a Windows program, from the machine field of its PE header: i686 or x86_64.
kpf_pe_arch() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && [ "$(od -An -t x4 -j "$offset" -N 4 "$1" 2>/dev/null | tr -d ' ')" = 00004550 ] || {
    echo "$1 is not a Windows program" >&2; return 1; }
  case $(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ') in
    014c) echo i686 ;;
    8664) echo x86_64 ;;
    *) echo "$1 is neither a 32-bit nor a 64-bit x86 program" >&2; return 1 ;;
  esac
}

# kpf_select_exe EXE: the KPSetup.exe under test. What differs between the shipped 32-bit program
# (run as on 64-bit Windows) and the 64-bit test build follows from it: the Wine loader, the default
# Program Files folder and the registry view of the uninstall entry.
kpf_select_exe() {
  kpf_exe=$(readlink -f "$1")
  kpf_arch=$(kpf_pe_arch "$kpf_exe") || return 1
  local entry='Microsoft\Windows\CurrentVersion\Uninstall\{5E1A0C42-7B3D-4F19-A8C6-2D9E04B7F153}'
  if [ "$kpf_arch" = i686 ]; then
    kpf_wine=/usr/lib/wine/wine
    kpf_program_files="Program Files (x86)"
    kpf_uninstall_key="HKLM\Software\Wow6432Node\\$entry"
    kpf_other_uninstall_key="HKLM\Software\\$entry"
  else
    kpf_wine=$kpf_wine64
    kpf_program_files="Program Files"
    kpf_uninstall_key="HKLM\Software\\$entry"
    kpf_other_uninstall_key="HKLM\Software\Wow6432Node\\$entry"
  fi
}

# Exits 77 (a skipped test) with a line saying why when the program under test is 32-bit and this
# machine cannot run 32-bit Windows programs.
kpf_skip_unless_runnable() {
  local why
  [ "$kpf_arch" = i686 ] || return 0
  why=$(bash "$kpf_root/tools/has-wine32.sh") && return 0
  echo "SKIPPED: the 32-bit KPSetup.exe cannot run here: $why"
  exit 77
}

# The port of the vendor host that KPSetup.exe under test was made for (KP_VENDOR_HOST of the build
# folder it lies in).
kpf_vendor_port() {
  local dir host
  dir=$(dirname "$kpf_exe")
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  host=$(sed -n 's/^KP_VENDOR_HOST:STRING=//p' "$dir/CMakeCache.txt" 2>/dev/null)
  case "$host" in
    localhost:*) echo "${host#localhost:}" ;;
    *) echo "KP_VENDOR_HOST of the build of $kpf_exe is '$host', not localhost:<port>" >&2; return 1 ;;
  esac
}

# --- Wine prefixes -------------------------------------------------------------------------------
kpf_use_prefix() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# kpf_base_prefix DIR CA_PEM [DPI]: a booted, self-contained prefix whose machine store trusts the
# CA, at 96 DPI unless DPI says otherwise. Made once; made again when the template it was copied
# from or the CA changed.
kpf_base_prefix() {
  local dir=$1 ca=$2 trusted
  "$kpf_root/tools/wine-prefix.sh" "$dir" "${3:-96}" || return 1
  trusted="$(sha256sum <"$ca") $(cat "$dir/.kp-template")"
  [ "$(cat "$dir/.kpf-trusted" 2>/dev/null)" = "$trusted" ] && return 0
  rm -f "$dir/.kpf-trusted"
  (
    kpf_use_prefix "$dir"
    "$kpf_wine64" "$kpf_build/tools/kp_trust_test_ca.exe" "$(kpf_windows_path "$ca")" </dev/null >/dev/null 2>&1 &&
      /usr/lib/wine/wineserver -w
  ) || return 1
  echo "$trusted" >"$dir/.kpf-trusted"
}

# kpf_fresh_prefix BASE DIR: DIR becomes a copy of BASE, and the current prefix.
kpf_fresh_prefix() {
  kpf_end_prefix
  rm -rf "$2"
  cp -a "$1" "$2" || return 1
  kpf_use_prefix "$2"
  "$kpf_wine64" wineboot </dev/null >/dev/null 2>&1 || true
}

# Ends every process of the current prefix (all of them started here).
kpf_end_prefix() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
  kpf_setup_pid=""
}

kpf_drive_c() { echo "$WINEPREFIX/drive_c"; }
kpf_roaming() { echo "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/KPCapture"; }

# --- the package server --------------------------------------------------------------------------
# kpf_start_server PORT LOG CERT_DIR [--serve ROUTE]...: the HTTPS server on 127.0.0.1:PORT.
kpf_start_server() {
  local port=$1 log=$2 certs=$3
  shift 3
  kpf_stop_server
  : >"$log"
  rm -f "$kpf_work/server.port"
  "$kpf_python" "$kpf_root/tools/pkgserver.py" --cert "$certs/server.pem" --key "$certs/server.key" \
    --port "$port" --port-file "$kpf_work/server.port" --log "$log" --lifetime "${KPF_SERVER_LIFETIME:-900}" \
    "$@" >"$kpf_work/server.out" 2>&1 &
  kpf_server_pid=$!
  local i
  for i in $(seq 1 100); do
    [ -f "$kpf_work/server.port" ] && return 0
    kill -0 "$kpf_server_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "the package server did not start on port $port:" >&2
  cat "$kpf_work/server.out" >&2
  kpf_server_pid=""
  return 1
}

kpf_stop_server() {
  if [ -n "$kpf_server_pid" ]; then
    kill "$kpf_server_pid" 2>/dev/null || true
    wait "$kpf_server_pid" 2>/dev/null || true
    kpf_server_pid=""
  fi
}

# The route that serves FILE as the package.
kpf_package_route() { echo "--serve" "$kpf_package_path=$1${2:+,$2}"; }

# --- windows, clicks, pictures -------------------------------------------------------------------
# The visible window of the given size titled 凯普视频工坊, or nothing.
kpf_find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '凯普视频工坊' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $1\$"; then echo "$id"; return 0; fi
  done
  return 1
}
kpf_wait_window() {  # SIZE [SECONDS]
  local i
  for i in $(seq 1 $((${2:-20} * 10))); do kpf_find_window "$1" && return 0; sleep 0.1; done
  return 1
}
kpf_wait_no_window() {  # SIZE [SECONDS]
  local i
  for i in $(seq 1 $((${2:-10} * 10))); do kpf_find_window "$1" >/dev/null || return 0; sleep 0.1; done
  return 1
}
kpf_origin() { xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'; }

# kpf_click WINDOW X Y: a left click at a client point; the pointer then leaves the window, so no
# hover state stays in the pictures.
kpf_click() {
  local x0 y0
  read -r x0 y0 < <(kpf_origin "$1")
  xdotool mousemove $((x0 + $2)) $((y0 + $3))
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.2
  xdotool mousemove 1 1
  sleep 0.3
}

# kpf_shot FILE [WINDOW]: the window's area of the screen (the whole screen without a window).
kpf_shot() {
  local file=$1 window=${2:-$kpf_main} x0 y0 size
  if [ -n "$window" ] && read -r x0 y0 < <(kpf_origin "$window") && [ -n "$x0" ]; then
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9x]*\).*/\1/p')
    import -window root -crop "${size}+${x0}+${y0}" +repage "$file"
  else
    import -window root "$file"
  fi
}

# Luminance (0 to 100) of the main window's client point X Y in a picture made by kpf_shot.
kpf_luma() { convert "$1" +repage -crop "1x1+$2+$3" +repage -colorspace Gray -format '%[fx:int(mean*100)]' info:; }

# The wizard page a picture of the main window shows: 0 welcome, 1 options, 2 progress,
# 3 completion. The white buttons tell them apart (left ends, clear of their text): "立即安装" low
# on the welcome page, "立即安装" high on the options page, "立即体验" high under the blue check
# mark on the completion page, none on the progress page.
kpf_page_of() {
  local low high mark
  low=$(kpf_luma "$1" 262 286)
  high=$(kpf_luma "$1" 262 224)
  mark=$(kpf_luma "$1" 345 80)
  if [ "$low" -gt 60 ]; then echo 0
  elif [ "$high" -gt 60 ] && [ "$mark" -gt 50 ]; then echo 3
  elif [ "$high" -gt 60 ]; then echo 1
  else echo 2
  fi
}

# kpf_start_setup LOG: starts the KPSetup.exe under test and waits for its window (kpf_main).
kpf_start_setup() {
  (cd "$(dirname "$kpf_exe")" && exec "$kpf_wine" "$(basename "$kpf_exe")") </dev/null >"$1" 2>&1 &
  kpf_setup_pid=$!
  kpf_main=$(kpf_wait_window "$KPF_MAIN_SIZE" 60) || return 1
  sleep 1  # its first frame
}

# Wine's X11 driver waits up to 2 s for a window manager to confirm each top-level window that it
# hides; the test's Xvfb has none, so each window that closes (measured: the question box, then the
# main window) adds 2 s to a program's end that Windows does not have.
KPF_WINDOW_GONE_WAIT=2

# Waits for KPSetup.exe to end: up to SECONDS (what the program may take on Windows) plus Wine's
# wait for the two windows that may close at the end; its exit code in kpf_setup_code.
kpf_wait_setup_end() {
  local i
  for i in $(seq 1 $(((${1:-10} + 2 * KPF_WINDOW_GONE_WAIT) * 10))); do
    if ! kill -0 "$kpf_setup_pid" 2>/dev/null; then
      kpf_setup_code=0
      wait "$kpf_setup_pid" || kpf_setup_code=$?
      kpf_setup_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The value of "active" in the status file ("" when there is none).
kpf_active() {
  local ini
  ini="$(kpf_roaming)/APP.ini"
  [ -f "$ini" ] && tr -d '\r' <"$ini" | sed -n 's/^active=//p'
}
kpf_wait_active() {  # VALUE SECONDS
  local i
  for i in $(seq 1 $((${2:-30} * 10))); do [ "$(kpf_active)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}

# kpf_pick_demo_folder [TOP SUB]: with the shell's folder dialog open, selects C:\TOP\SUB
# (C:\Demo Apps\Kai Pu unless given) and presses OK. Wine's dialog returns the tree's selection and ignores its edit field, so the tree is walked
# with the keyboard, by name: a tree view selects the next shown item that starts with the letters
# typed, "+" opens the selected item, and the right arrow goes to the first item in an open one.
# Whatever the dialog opened on, this ends on the same item.
kpf_pick_demo_folder() {
  local dialog x0 y0 step top=${1:-Demo Apps} sub=${2:-Kai Pu}
  dialog=$(xdotool search --onlyvisible --name 'Browse for Folder' 2>/dev/null | head -n 1)
  [ -n "$dialog" ] || return 1
  read -r x0 y0 < <(kpf_origin "$dialog")
  # A click into the edit field gives the dialog the keyboard, Shift+Tab gives it to the tree.
  xdotool mousemove $((x0 + 190)) $((y0 + 261)) click 1
  sleep 0.4
  xdotool key shift+Tab
  sleep 0.4
  # Desktop, My Computer, its first item (C:), TOP, SUB.
  for step in key:Home 'type:My Computer' key:KP_Add key:Right key:KP_Add "type:$top" key:KP_Add "type:$sub"; do
    case $step in
      key:*) xdotool key "${step#key:}" ;;
      type:*) xdotool type --delay 40 "${step#type:}" ;;
    esac
    sleep 0.6
  done
  kpf_shot "$kpf_work/folder-dialog.png" "$dialog"
  xdotool mousemove $((x0 + 194)) $((y0 + 296)) click 1
  xdotool mousemove 1 1
  local i
  for i in $(seq 1 100); do
    xdotool search --onlyvisible --name 'Browse for Folder' >/dev/null 2>&1 || break
    sleep 0.1
  done
  sleep 0.5
}
