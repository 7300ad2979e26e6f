#!/usr/bin/env bash
# Builds setup.exe and runs it under Wine in a fresh prefix of the build's own, with any
# arguments given (for example /s d=C:\Apps). Uses Xvfb when no display is set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}

bash "$here/scripts/build.sh" >/dev/null
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$build/wine/demo"
export WINEPREFIX=$build/wine/demo WINEDEBUG=${WINEDEBUG:--all}

run() {
  local status=0
  wine "$build/setup.exe" "$@" || status=$?
  wineserver -w
  echo "setup.exe exited with $status"
  return $status
}
if [ -n "${DISPLAY:-}" ]; then
  run "$@"
else
  export -f run; export build
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'run "$@"' bash "$@"
fi
