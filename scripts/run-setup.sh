#!/usr/bin/env bash
# The product doing its job: builds setup.exe, packs the demo package (the project's stand-in
# application) into an offline installer with setup.exe's own packer, whose uidata sends the
# reports to the report collector on 127.0.0.1, runs that installer silently on a fresh Wine
# machine and prints what it did: exit code, installed tree, Uninstall entry, shortcuts and
# the reports received.
#   run-setup.sh [--online] [--interactive] [-- setup.exe arguments...]
# --online serves the package over HTTP on 127.0.0.1 instead and packs only the uidata.
# --interactive runs the installer with its pages: on the current display for a person to
# click through; without a display inside Xvfb, where scripts/click-through.py clicks
# through the install and then the uninstall and saves a screenshot of each page under
# build/demo/pages.
# Runs the shipped i686 build where this machine runs 32-bit programs, else the x86_64 build
# of the same program, and says which. Uses Xvfb when no display is set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${LW_BUILD_DIR:-$here/build}")
export PATH="$here/scripts/wine-bin:$PATH"
online=0
interactive=0
extra=()
while [ $# -gt 0 ]; do
  case $1 in
    --online) online=1; shift;;
    --interactive) interactive=1; shift;;
    --) shift; extra=("$@"); break;;
    *) echo "usage: run-setup.sh [--online] [--interactive] [-- setup.exe arguments...]" >&2; exit 2;;
  esac
done

# The build installs what is missing, Xvfb included.
[ -n "${LW_RUN_SETUP_BUILT:-}" ] || bash "$here/scripts/build.sh" >/dev/null
# Without a display the rest runs again inside Xvfb. (Not through an exported function:
# xvfb-run is a POSIX shell script, which drops exported Bash functions.)
if [ -z "${DISPLAY:-}" ]; then
  args=(); [ $online = 1 ] && args+=(--online); [ $interactive = 1 ] && args+=(--interactive)
  args+=(-- "${extra[@]}")
  LW_RUN_SETUP_BUILT=1 LW_RUN_SETUP_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "${args[@]}"
fi
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
mapfile -t runnable < <(bash "$here/scripts/wine-archs.sh" "$build")
target=${runnable[0]:-}
case $target in
  i686) echo "the i686 setup.exe (the shipped build)";;
  x86_64) echo "32-bit programs cannot run on this machine: the x86_64 build of setup.exe";;
  *) echo "Wine runs neither the i686 nor the x86_64 build on this machine" >&2; exit 1;;
esac
out=$build/$target
bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$build/wine/demo"
export WINEPREFIX=$build/wine/demo WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="winemenubuilder.exe=d"
# The demo machine's shell folders stay inside it, not in the host's home.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link"; mkdir "$link"; fi
done
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
# The packer reads quoted paths; Wine quotes the arguments that hold a blank.
work="$build/demo/offline installer"
rm -rf "$build/demo"; mkdir -p "$work"
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wineserver -k 2>/dev/null || true; }
pids=(); trap cleanup EXIT

# The report collector, on a free port it prints once it listens.
wine "$out/tools/collector/report_collector.exe" --port 0 --out "$(winpath "$build/demo/reports.jsonl")" \
  > "$build/demo/collector.txt" 2>/dev/null &
pids+=($!)
for _ in $(seq 600); do grep -q listening "$build/demo/collector.txt" 2>/dev/null && break; sleep 0.1; done
report_url="http://$(grep -o '127\.0\.0\.1:[0-9]*' "$build/demo/collector.txt")/c"

package=$(bash "$here/scripts/demo-package.sh" "$out" "$work/lwpic64.7z")
uidata=$work/uidata.xml
set_item() { sed -i "s|<item name=\"$1\">[^<]*</item>|<item name=\"$1\">$2</item>|" "$uidata"; }
cp "$here/resources/uidata.xml" "$uidata"
set_item Report_Url "$report_url"
files=("$package" "$uidata")
if [ $online = 1 ]; then
  mkdir -p "$build/demo/served"; mv "$package" "$build/demo/served/lwpic.7z"
  (cd "$build/demo/served" && exec python3 -m http.server --bind 127.0.0.1 0) > "$build/demo/server.txt" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q 'port' "$build/demo/server.txt" 2>/dev/null && break; sleep 0.1; done
  port=$(grep -m1 -o 'port [0-9]*' "$build/demo/server.txt" | cut -d' ' -f2)
  package_url="http://127.0.0.1:$port/lwpic.7z"
  set_item APP_URL_32 "$package_url"; set_item APP_URL_64 "$package_url"
  files=("$uidata")
  echo "online installer: the package is served at $package_url"
else
  echo "offline installer: the package is carried inside"
fi
cp "$out/setup.exe" "$work/setup.exe"
mapfile -t windows_files < <(for f in "${files[@]}"; do winpath "$f"; done)
wine "$work/setup.exe" -p "${windows_files[@]}"
installer=$work/offline_setup.exe
[ -f "$installer" ] || { echo "the packer made no offline installer" >&2; exit 1; }

exit_code=$out/tests/fixtures/exit_code.exe
if [ $interactive = 1 ]; then
  users=("$WINEPREFIX"/drive_c/users/*/AppData/Local)
  root=${users[0]}/LarwenPic
  if [ -n "${LW_RUN_SETUP_XVFB:-}" ]; then
    echo "no display: clicking through the pages in Xvfb, screenshots in $build/demo/pages:"
    said=$(python3 "$here/scripts/click-through.py" install "$build/demo/pages" "$exit_code" "$installer" \
      | tee /dev/stderr | tr -d '\r')
  else
    echo "running: offline_setup.exe ${extra[*]} (click through its pages)"
    said=$(wine "$exit_code" "$installer" "${extra[@]}" | tr -d '\r')
  fi
  status=$(grep -o '[0-9]*$' <<<"$said" | tail -1)
else
  root=$WINEPREFIX/drive_c/Demo/LarwenPic
  echo "running: offline_setup.exe /s d=C:\\Demo ${extra[*]}"
  said=$(wine "$exit_code" "$installer" /s 'd=C:\Demo' "${extra[@]}" | tr -d '\r')
  status=${said#exit=}
fi
sleep 2  # the started application and the last reports
LW_TARGET=$target python3 - "$WINEPREFIX" "$build/demo/reports.jsonl" "$status" "$root" <<'PY'
import glob, json, os, re, subprocess, sys
prefix, reports, status, root = sys.argv[1:]
print("\n== exit code: %s" % status)
print("== installed in C:\\%s:" % os.path.relpath(root, os.path.join(prefix, "drive_c")).replace("/", "\\"))
for base, dirs, files in sorted(os.walk(root)):
    for name in sorted(files):
        path = os.path.join(base, name)
        print("   %-40s %8d bytes" % (os.path.relpath(path, root), os.path.getsize(path)))
print("== Uninstall entry:")
key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LarwenPic"
view = "/reg:32" if os.environ.get("LW_TARGET") == "i686" else "/reg:64"
for name in ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "UninstallString"):
    # In a Chinese session, so that the console code page (GBK) can hold the values.
    listing = subprocess.run(["wine", "reg", "query", key, "/v", name, view], capture_output=True,
                             stdin=subprocess.DEVNULL, timeout=60, env=dict(
                                 os.environ, LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8")).stdout
    for line in listing.decode("gbk", "replace").splitlines():
        if "REG_" in line:
            print("   " + line.strip())
print("== shortcuts:")
links = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Desktop", "*.lnk"))
links += glob.glob(os.path.join(prefix, "drive_c", "ProgramData", "Microsoft", "Windows",
                                "Start Menu", "Programs", "*", "*.lnk"))
for link in sorted(links):
    info = subprocess.run(["lnkinfo", link], capture_output=True, text=True,
                          stdin=subprocess.DEVNULL).stdout
    target = re.search(r"Local path\s*: (.*)", info)
    print("   %s -> %s" % (os.path.relpath(link, prefix), target.group(1) if target else "?"))
print("== reports received:")
if os.path.exists(reports):
    for line in open(reports, encoding="utf-8"):
        report = json.loads(line)
        fields = report.get("record", {}).get("fields", {})
        print("   schema %s: %s" % (report.get("record", {}).get("schema"),
                                    ", ".join("%s=%s" % kv for kv in fields.items())))
PY
if [ $interactive = 1 ] && [ -n "${LW_RUN_SETUP_XVFB:-}" ] && [ "$status" = 0 ]; then
  echo "== uninstalling with $root/uninstall.exe:"
  python3 "$here/scripts/click-through.py" uninstall "$build/demo/pages" "$exit_code" "$root/uninstall.exe"
  sleep 5  # the clean-up batch runs after the uninstaller has ended
  echo "   left in the installation directory: $(ls -A "$root" 2>/dev/null | tr '\n' ' ')"
  view=/reg:64; [ "$target" = i686 ] && view=/reg:32
  if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LarwenPic' $view >/dev/null 2>&1; then
    echo "   the Uninstall entry is still there"
  else
    echo "   the Uninstall entry is gone"
  fi
fi
[ "$status" = 0 ]
