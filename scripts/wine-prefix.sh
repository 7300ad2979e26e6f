#!/usr/bin/env bash
# Wine prefixes of the project's own (never the user's ~/.wine).
#   wine-prefix.sh template DIR   initialises a clean prefix once (about 20 s)
#   wine-prefix.sh fresh TEMPLATE DIR   lays a fresh copy of the template at DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PATH="$here/scripts/wine-bin:$PATH"

template() {
  local dir; dir=$(realpath -m "$1")
  [ -f "$dir/.ready" ] && return
  rm -rf "$dir"; mkdir -p "$(dirname "$dir")"
  # A 64-bit prefix runs the programs of both targets, the i686 ones under WOW64 as on the
  # users' 64-bit Windows.
  export WINEPREFIX=$dir WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
  # Chinese text renders with WenQuanYi Micro Hei where the configured family is asked for.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '微软雅黑' /t REG_SZ \
    /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' /t REG_SZ \
    /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  # The generic sans-serif family that text falls back on when a family is missing.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Sans Serif' /t REG_SZ \
    /d 'DejaVu Sans' /f >/dev/null 2>&1
  wineserver -w
  touch "$dir/.ready"
}

# Files are hard-linked, which is safe because Wine replaces its registry files rather than
# writing them in place; the registry files are copied all the same so no change can leak
# into the template.
fresh() {
  local from dir; from=$(realpath -m "$1"); dir=$(realpath -m "$2")
  rm -rf "$dir"; mkdir -p "$(dirname "$dir")"
  cp -al "$from" "$dir"
  local f
  for f in "$from"/*.reg; do cp --remove-destination "$f" "$dir/"; done
}

"$@"
