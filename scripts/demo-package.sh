#!/usr/bin/env bash
# Packs the demo package the way the real one is packed (a 7z archive): the project's
# stand-in application as lwpic.exe, its data ini, the two shell-extension stand-ins and a
# folder of data, all taken from a build.
#   demo-package.sh BUILD_DIR OUT.7z [7zz switches...]   (default: LZMA2, solid)
set -euo pipefail
build=$(realpath -m "$1"); out=$(realpath -m "$2"); shift 2
fixtures=$build/tests/fixtures
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$fixtures/fx_app.exe" "$stage/lwpic.exe"
cp "$fixtures/lwpicshellext.dll" "$fixtures/lwpicshellext64.dll" "$stage/"
printf '[Data]\r\nchannel=demo\r\nedition = stand-in \r\n' > "$stage/lw_data.ini"
mkdir -p "$stage/skins/默认"
printf 'The stand-in application of the demo package.\r\n' > "$stage/readme.txt"
head -c 65536 /dev/urandom > "$stage/skins/默认/skin.bin"
rm -f "$out"
mkdir -p "$(dirname "$out")"
(cd "$stage" && 7zz a -t7z -bso0 -bsp0 "${@:--m0=LZMA2}" "$out" . >/dev/null)
echo "$out"
