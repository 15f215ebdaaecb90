# Sourced by tools/demo.sh and tools/e2e/flow-e2e.sh: runs KPSetup.exe under Wine against the local
# HTTPS package server with the demo package, and drives its windows with xdotool.
# tools/e2e/wizard-e2e.sh uses its window helpers (kpf_find_window, kpf_wait_window, kpf_origin...).
#
# Needs: kpf_root (the checkout), kpf_build (a MinGW x86_64 build folder with KPSetup,
# kp_demo_package and kp_trust_test_ca built), kpf_work (a folder for prefixes, logs and pictures).

kpf_wine=/usr/lib/wine/wine64
kpf_python=/usr/bin/python3
[ -x "$kpf_python" ] || kpf_python=python3
kpf_server_pid=""
kpf_setup_pid=""
kpf_main=""

# The package's place on the vendor's server, as the installer asks for it.
kpf_package_path="/openapi/download?ch=10009&app=10000"

# Client points of the controls at 96 DPI (layout units of KPMainFrame.xml and KPMsgBox.xml).
KPF_INSTALL="350 286"; KPF_CUSTOM="629 386"; KPF_CLOSE="679 21"
KPF_INSTALL1="350 220"; KPF_DESKTOP_BOX="37 387"; KPF_MODIFY="617 98"; KPF_BACK="40 22"
KPF_COMPLETE="350 224"
KPF_BOX_OK="243 163"; KPF_BOX_CANCEL="347 163"
KPF_MAIN_SIZE=700x420; KPF_BOX_SIZE=417x212

kpf_windows_path() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# The port of the vendor host that KPSetup.exe of the build was made for (KP_VENDOR_HOST).
kpf_vendor_port() {
  local host
  host=$(sed -n 's/^KP_VENDOR_HOST:STRING=//p' "$kpf_build/CMakeCache.txt")
  case "$host" in
    localhost:*) echo "${host#localhost:}" ;;
    *) echo "KP_VENDOR_HOST of $kpf_build is '$host', not localhost:<port>" >&2; return 1 ;;
  esac
}

# --- Wine prefixes -------------------------------------------------------------------------------
kpf_use_prefix() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# kpf_base_prefix DIR CA_PEM: a booted prefix whose machine store trusts the CA (made once).
kpf_base_prefix() {
  local dir=$1 ca=$2
  [ -f "$dir/.kpf-trusted" ] && return 0
  rm -rf "$dir"
  "$kpf_root/tools/wine-prefix.sh" "$dir" 96 || return 1
  (
    kpf_use_prefix "$dir"
    "$kpf_wine" "$kpf_build/tools/kp_trust_test_ca.exe" "$(kpf_windows_path "$ca")" </dev/null >/dev/null 2>&1 &&
      /usr/lib/wine/wineserver -w
  ) || return 1
  touch "$dir/.kpf-trusted"
}

# kpf_fresh_prefix BASE DIR: DIR becomes a copy of BASE, and the current prefix.
kpf_fresh_prefix() {
  kpf_end_prefix
  rm -rf "$2"
  cp -a "$1" "$2" || return 1
  kpf_use_prefix "$2"
  "$kpf_wine" wineboot </dev/null >/dev/null 2>&1 || true
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

# kpf_start_setup LOG: starts KPSetup.exe and waits for its window (kpf_main).
kpf_start_setup() {
  (cd "$kpf_build/app" && exec "$kpf_wine" KPSetup.exe) </dev/null >"$1" 2>&1 &
  kpf_setup_pid=$!
  kpf_main=$(kpf_wait_window "$KPF_MAIN_SIZE" 60) || return 1
  sleep 1  # its first frame
}

# Waits up to SECONDS for KPSetup.exe to end; its exit code in kpf_setup_code.
kpf_wait_setup_end() {
  local i
  for i in $(seq 1 $((${1:-10} * 10))); do
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

# kpf_pick_demo_folder: with the shell's folder dialog open on a fresh prefix (the tree shows
# Desktop with /, Documents, My Computer and its drive C: opened), walks the tree to
# C:\Demo Apps\Kai Pu with the keyboard (folders are listed in alphabetical order, so "Demo Apps"
# is the first folder of C:) and presses OK.
kpf_pick_demo_folder() {
  local dialog key x0 y0
  dialog=$(xdotool search --onlyvisible --name 'Browse for Folder' 2>/dev/null | head -n 1)
  [ -n "$dialog" ] || return 1
  read -r x0 y0 < <(kpf_origin "$dialog")
  # A click on "Documents" (not the selected item, which would start renaming it) gives the tree
  # the keyboard.
  xdotool mousemove $((x0 + 93)) $((y0 + 102)) click 1
  sleep 0.4
  for key in Home Down Down Down Down Right Right Down; do
    xdotool key "$key"
    sleep 0.3
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
