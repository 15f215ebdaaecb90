#!/usr/bin/env bash
# Makes a ready Wine prefix at $1 by copying a template booted once per checkout (.deps/wine-template).
# The template has Chinese font replacements, so GDI draws the skin's text. $2, when given and not
# 96, is the display DPI of the new prefix (the LogPixels value Windows programs read).
#
# Every prefix is self-contained: Wine links a new prefix's Desktop, Documents, Downloads and the
# other user folders to the home folder, so a test would read whatever lies there (the shell's
# folder dialog lists it) and write its shortcuts into it. The template gets real, empty folders
# instead. Where 32-bit Wine is installed the template is booted with it, so 32-bit programs run
# too (its drive C: then has the 32-bit system folder, windows/syswow64).
#
# A template that lacks either (made by an older checkout, or before 32-bit Wine was installed) is
# booted afresh, and a prefix copied from an older template is copied again: each copy records the
# template it came from.
set -euo pipefail
target=$1
dpi=${2:-96}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
template="$root/.deps/wine-template"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$root/.deps" "$(dirname "$target")"

# Linked user folders of a prefix, one a line (none in a self-contained prefix).
linked_user_folders() { find "$1/drive_c/users" -mindepth 2 -maxdepth 2 -type l 2>/dev/null; }

template_usable() {
  [ -s "$template/.kp-ready" ] || return 1
  if [ -x /usr/lib/wine/wine ] && [ ! -d "$template/drive_c/windows/syswow64" ]; then return 1; fi
  [ -z "$(linked_user_folders "$template")" ]
}

exec 9>"$root/.deps/wine-template.lock"
flock 9
if ! template_usable; then
  rm -rf "$template"
  WINEPREFIX="$template" /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
  for face in '微软雅黑' 'Microsoft YaHei' '宋体' 'SimSun' 'Arial' 'Tahoma' 'Segoe UI'; do
    LC_ALL=C.UTF-8 WINEPREFIX="$template" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  done
  WINEPREFIX="$template" /usr/lib/wine/wineserver -w
  while IFS= read -r link; do
    rm "$link"
    mkdir "$link"
  done < <(linked_user_folders "$template")
  if [ -x /usr/lib/wine/wine ] && [ ! -d "$template/drive_c/windows/syswow64" ]; then
    echo "wine-prefix.sh: the new prefix has no windows/syswow64 although 32-bit Wine is installed" >&2
    exit 1
  fi
  # The template's identity, recorded in every copy.
  date +%s%N >"$template/.kp-ready"
fi
identity=$(cat "$template/.kp-ready")
if [ ! -f "$target/system.reg" ] || [ "$(cat "$target/.kp-template" 2>/dev/null)" != "$identity" ]; then
  if [ -d "$target" ]; then
    WINEPREFIX="$target" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$target"
  fi
  rm -rf "$target.tmp"
  cp -a "$template" "$target.tmp"
  rm -f "$target.tmp/.kp-ready"
  if [ "$dpi" != 96 ]; then
    WINEPREFIX="$target.tmp" /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
      /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    WINEPREFIX="$target.tmp" /usr/lib/wine/wineserver -w
  fi
  echo "$identity" >"$target.tmp/.kp-template"
  mv "$target.tmp" "$target"
fi
