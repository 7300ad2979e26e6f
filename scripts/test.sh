#!/usr/bin/env bash
# Builds setup.exe and every test, then runs the whole suite under Wine and Xvfb.
# Works on a fresh machine as root: installs and builds what is missing first.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}

bash "$here/scripts/build.sh"
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$build/wine/shared"

export LW_BUILD_DIR=$build
# One X server and one persistent Wine server for the shared prefix, both ended afterwards.
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  export WINEPREFIX="$LW_BUILD_DIR/wine/shared" WINEDEBUG=-all
  wineserver -p
  # The first program in a prefix starts Wine'"'"'s background services; started here, they do
  # not hold on to the output pipes of the tests.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  status=0
  ctest --test-dir "$LW_BUILD_DIR" --output-on-failure -j"$(nproc)" "$@" || status=$?
  wineserver -k || true
  exit $status' bash "$@"
