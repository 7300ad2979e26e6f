#!/usr/bin/env bash
# Builds setup.exe and every test for both targets, then runs the whole suite under Wine and
# Xvfb once for each target this machine can run: i686 and x86_64 where 32-bit programs run,
# x86_64 alone where they cannot. The shipped i686 setup.exe is checked statically everywhere.
# Works on a fresh machine as root: installs and builds what is missing first.
# Arguments go to ctest (for example -R LoadUiData).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"

bash "$here/scripts/build.sh"
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
mapfile -t runnable < <(bash "$here/scripts/wine-archs.sh" "$build")
runs() { [[ " ${runnable[*]} " == *" $1 "* ]]; }
if runs i686 && runs x86_64; then
  verdict="32-bit programs run on this machine: the i686 and x86_64 builds were tested"
elif runs x86_64; then
  verdict="32-bit programs cannot run on this machine: the x86_64 build was tested; the i686 setup.exe was checked statically"
else
  echo "Wine runs neither the i686 nor the x86_64 probe program on this machine" >&2
  exit 1
fi
echo "$verdict"

# suite TARGET [ctest arguments]: one CTest run of a target's build with an X server and a
# persistent Wine server for its shared prefix, both ended afterwards.
suite() {
  local target=$1; shift
  local dir=$build/$target
  bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$dir/wine/shared"
  rm -f "$dir/results.xml"
  LW_SUITE_DIR=$dir xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    export WINEPREFIX="$LW_SUITE_DIR/wine/shared" WINEDEBUG=-all
    wineserver -p
    # The first program in a prefix starts Wine'"'"'s background services; started here, they
    # do not hold on to the output pipes of the tests.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    status=0
    # The whole output of every test goes into the results, so the summary finds every skip.
    ctest --test-dir "$LW_SUITE_DIR" --output-on-failure --output-junit results.xml \
      --test-output-size-passed 4000000 --test-output-size-failed 4000000 \
      -j"$(nproc)" "$@" || status=$?
    wineserver -k || true
    exit $status' bash "$@" 2>&1 | tee "$dir/test-output.log"
  return "${PIPESTATUS[0]}"
}

# A target whose programs cannot run here registers only the checks that read the built
# files: CTest then starts none of its programs, not even to discover the GoogleTest cases.
statuses=()
for target in i686 x86_64; do
  if runs "$target"; then
    cmake -S "$here" -B "$build/$target" -DLW_RUN_TESTS=ON >/dev/null
    echo "== the $target build, whole suite"
    suite "$target" "$@" && code=0 || code=$?
  elif [ "$target" = i686 ]; then
    cmake -S "$here" -B "$build/$target" -DLW_RUN_TESTS=OFF >/dev/null
    echo "== the $target build, static checks only: this machine cannot run its programs"
    suite "$target" -L static "$@" && code=0 || code=$?
  else
    continue
  fi
  statuses+=("$build/$target=$code")
done

# The exit status is the summary's: 0 exactly when it counts no failure, CTest's own errors
# (a discovery that failed, say) counted among them.
python3 "$here/scripts/test-summary.py" "$verdict" "${statuses[@]}"
