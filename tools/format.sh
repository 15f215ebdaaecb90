#!/usr/bin/env bash
# Formats the tree's C++ sources (every tracked .cpp and .h) with clang-format-14 and the
# repository's .clang-format. With --check it changes nothing: it lists the files whose layout
# differs and exits 1 when there are any.
#
#   tools/format.sh [--check]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
formatter=clang-format-14
command -v "$formatter" >/dev/null || { echo "format.sh: $formatter is missing (tools/setup.sh installs it)"; exit 2; }

check=0
[ "${1:-}" = "--check" ] && check=1

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "$check" = 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$formatter" -i --style=file
  exit 0
fi
differ=0
for file in "${files[@]}"; do
  if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then
    echo "$file"
    differ=$((differ + 1))
  fi
done
if [ "$differ" -gt 0 ]; then
  echo "format.sh: $differ file(s) differ from .clang-format; tools/format.sh reformats them"
  exit 1
fi
echo "format.sh: ${#files[@]} files formatted as .clang-format says"
