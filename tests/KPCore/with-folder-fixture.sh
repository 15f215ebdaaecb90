#!/usr/bin/env bash
# Runs a Windows test program under Wine beside a folder of things a Windows program under Wine
# cannot make itself: symbolic links, which Wine reports as reparse points (it makes no junctions or
# links), and a folder everybody may write to (Wine turns no access-control list into that).
# Usage: with-folder-fixture.sh BUILD_DIR TEST_EXE [ARGS...]
#   KP_TEST_FOLDER_FIXTURE   the folder, as a Windows path, holding
#     target\          a plain folder
#     link             a symbolic link to target
#     root\            a plain folder
#     root\taken       a symbolic link to target
#     open\            a folder everybody may write to
#     victim.ini       a plain file
#     inilink\         a plain folder whose APP.ini is a symbolic link to victim.ini
set -euo pipefail
build=$(cd "${1:?usage: with-folder-fixture.sh BUILD_DIR TEST_EXE [ARGS...]}" && pwd)
shift
fixture=$(mktemp -d "$build/folders.XXXXXX")
trap 'rm -rf "$fixture"' EXIT
mkdir "$fixture/target" "$fixture/root" "$fixture/open"
chmod 777 "$fixture/open"
ln -s "$fixture/target" "$fixture/link"
ln -s "$fixture/target" "$fixture/root/taken"
mkdir "$fixture/inilink"
printf '[Install]\r\nactive=7\r\n' >"$fixture/victim.ini"
ln -s "$fixture/victim.ini" "$fixture/inilink/APP.ini"
export KP_TEST_FOLDER_FIXTURE="Z:${fixture//\//\\}"
set +e
"$build/wine-run.sh" "$@" </dev/null
code=$?
set -e
exit $code
