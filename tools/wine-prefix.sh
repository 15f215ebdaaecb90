#!/usr/bin/env bash
# Makes a ready Wine prefix at $1 by copying a template booted once per checkout (.deps/wine-template).
# The template has Chinese font replacements, so GDI draws the skin's text. $2, when given and not
# 96, is the display DPI of the new prefix (the LogPixels value Windows programs read).
set -euo pipefail
target=$1
dpi=${2:-96}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
template="$root/.deps/wine-template"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$root/.deps" "$(dirname "$target")"
exec 9>"$root/.deps/wine-template.lock"
flock 9
if [ ! -f "$template/.kp-ready" ]; then
  rm -rf "$template"
  WINEPREFIX="$template" /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
  for face in '微软雅黑' 'Microsoft YaHei' '宋体' 'SimSun' 'Arial' 'Tahoma' 'Segoe UI'; do
    LC_ALL=C.UTF-8 WINEPREFIX="$template" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  done
  WINEPREFIX="$template" /usr/lib/wine/wineserver -w
  touch "$template/.kp-ready"
fi
if [ ! -f "$target/system.reg" ]; then
  rm -rf "$target.tmp"
  cp -a "$template" "$target.tmp"
  rm -f "$target.tmp/.kp-ready"
  if [ "$dpi" != 96 ]; then
    WINEPREFIX="$target.tmp" /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
      /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    WINEPREFIX="$target.tmp" /usr/lib/wine/wineserver -w
  fi
  mv "$target.tmp" "$target"
fi
