#!/usr/bin/env bash
# Builds setup.exe and runs it under Wine in a fresh prefix of the build's own, with any
# arguments given (for example /s d=C:\Apps). Runs the shipped i686 build where this machine
# runs 32-bit programs, else the x86_64 build of the same program, and says which. Uses Xvfb
# when no display is set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"

# The build installs what is missing, Xvfb included.
[ -n "${LW_RUN_SETUP_BUILT:-}" ] || bash "$here/scripts/build.sh" >/dev/null
# Without a display the rest runs again inside Xvfb. (Not through an exported function:
# xvfb-run is a POSIX shell script, which drops exported Bash functions.)
if [ -z "${DISPLAY:-}" ]; then
  LW_RUN_SETUP_BUILT=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
fi
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
target=$(bash "$here/scripts/wine-archs.sh" "$build" | head -n1)
case $target in
  i686) echo "running the i686 setup.exe (the shipped build)";;
  x86_64) echo "32-bit programs cannot run on this machine: running the x86_64 build of setup.exe";;
  *) echo "Wine runs neither the i686 nor the x86_64 build on this machine" >&2; exit 1;;
esac
bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$build/wine/demo"
export WINEPREFIX=$build/wine/demo WINEDEBUG=${WINEDEBUG:--all}

status=0
wine "$build/$target/setup.exe" "$@" || status=$?
wineserver -w
echo "setup.exe exited with $status"
exit $status
