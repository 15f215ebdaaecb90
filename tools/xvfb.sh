# Sourced by the test and demo scripts: kp_start_xvfb starts a private X server on a free display and
# exports DISPLAY; kp_stop_xvfb ends it (by PID). Both are safe to call more than once.
kp_xvfb_pid=""
kp_start_xvfb() {
  local n
  for n in $(seq 91 139); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # Large enough for a 1400 x 840 window at 200 %: Windows keeps a window within the screen.
    Xvfb ":$n" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
    kp_xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$kp_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$kp_xvfb_pid" 2>/dev/null || true
    kp_xvfb_pid=""
  done
  echo "could not start Xvfb" >&2
  return 1
}
kp_stop_xvfb() {
  if [ -n "$kp_xvfb_pid" ]; then
    kill "$kp_xvfb_pid" 2>/dev/null || true
    wait "$kp_xvfb_pid" 2>/dev/null || true
    kp_xvfb_pid=""
  fi
}
