#!/usr/bin/env bash
# How soon the install page is on screen, and how soon a click on its install button shows the
# installing page, for the demo offline installer under Wine at 96 and 192 DPI.
# Build first (bash scripts/build.sh), then:
#   bash bench/startup.sh [i686|x86_64] [runs]   (default: the first target scripts/wine-archs.sh
#                                                 finds; 5 runs per DPI)
# The installer writes a diagnostic line when a page presents its first frame and when a
# control raises an action, each with the milliseconds since its process was created; Wine
# prints those lines on stderr with WINEDEBUG=warn+seh. Per run:
#   start   process creation -> the install page's first frame (in-process clock)
#   wall    `wine` started -> that line seen by this script (Wine's own start-up included)
#   change  the install button's action -> the installing page's first frame
# Each run gets a fresh copy of the template prefix (the DPI is set before the first program)
# and is ended after the installing page's first frame. Reports go to 127.0.0.1:1. Runs under
# openbox (installed when missing), as on a desktop.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(realpath -m "${LW_BUILD_DIR:-$here/build}")
export PATH="$here/scripts/wine-bin:$PATH"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
fi
# A desktop has a window manager. On a bare X server Wine waits up to two seconds for a
# closed window's withdrawal, which no one acknowledges; with LW_BENCH_NO_WM=1 that is
# measured too.
if [ -z "${LW_BENCH_NO_WM:-}" ]; then
  command -v openbox >/dev/null || apt-get install -y openbox >/dev/null
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm 2>/dev/null || true' EXIT
  sleep 1
fi
bash "$here/scripts/wine-prefix.sh" template "$root/wine/template"
if [ -n "${1:-}" ]; then target=$1; else
  mapfile -t runnable < <(bash "$here/scripts/wine-archs.sh" "$root")
  target=${runnable[0]:-}
fi
[ -n "$target" ] || { echo "Wine runs neither the i686 nor the x86_64 build here" >&2; exit 1; }
runs=${2:-5}
build=$root/$target
[ -f "$build/setup.exe" ] || { echo "missing $build/setup.exe: run bash scripts/build.sh" >&2; exit 1; }
work=$build/bench/startup
rm -rf "$work"; mkdir -p "$work/pack here"

# The demo offline installer, packed by setup.exe itself.
package=$(bash "$here/scripts/demo-package.sh" "$build" "$work/pack here/lwpic64.7z")
uidata="$work/pack here/uidata.xml"
sed -e 's|<item name="Report_Url">[^<]*</item>|<item name="Report_Url">http://127.0.0.1:1/c</item>|' \
    "$here/resources/uidata.xml" > "$uidata"
cp "$build/setup.exe" "$work/pack here/setup.exe"
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
WINEPREFIX=$work/packer WINEDEBUG=-all bash -c '
  bash "$0/scripts/wine-prefix.sh" fresh "$1" "$WINEPREFIX" >/dev/null
  wine "$2" -p "$3" "$4"; wineserver -k' "$here" "$root/wine/template" \
  "$work/pack here/setup.exe" "$(winpath "$package")" "$(winpath "$uidata")"
installer="$work/pack here/offline_setup.exe"
[ -f "$installer" ] || { echo "the packer made no offline installer" >&2; exit 1; }
echo "the $target demo offline installer, $runs runs per DPI"

python3 - "$here" "$root/wine/template" "$work" "$installer" "$runs" <<'PY'
import os, re, shutil, statistics, subprocess, sys, time
here, template, work, installer, runs = sys.argv[1:6]
runs = int(runs)
INSTALL = (316, 278)   # the large install button, 96-DPI client pixels
LINE = re.compile(r'OutputDebugStringA "(.*?)\\r\\n"')

def lines(path):
    with open(path, "rb") as f:
        return LINE.findall(f.read().decode("utf-8", "replace"))

def wait_for(path, pattern, after=0, timeout=60):
    end = time.time() + timeout
    while time.time() < end:
        for line in lines(path)[after:]:
            found = re.fullmatch(pattern, line)
            if found:
                return found
        time.sleep(0.01)
    raise SystemExit("no line %r in %s" % (pattern, path))

results = {}
for dpi in (96, 192):
    for run in range(runs):
        prefix = os.path.join(work, "prefix")
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["bash", os.path.join(here, "scripts/wine-prefix.sh"), "fresh", template,
                        prefix], check=True, stdout=subprocess.DEVNULL)
        env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        log = os.path.join(work, "stderr.txt")
        with open(log, "wb") as err:
            started = time.time()
            process = subprocess.Popen(["wine", installer], env=dict(env, WINEDEBUG="warn+seh"),
                                       stdout=subprocess.DEVNULL, stderr=err)
            first = wait_for(log, r"CInstall: first frame at (\d+) ms")
            wall = (time.time() - started) * 1000
            # Click the install button where this DPI puts it.
            window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "岚文看图"],
                                    env=env, stdout=subprocess.PIPE, text=True).stdout.split()[0]
            geometry = dict(l.split("=") for l in subprocess.run(
                ["xdotool", "getwindowgeometry", "--shell", window], env=env,
                stdout=subprocess.PIPE, text=True).stdout.split())
            x = int(geometry["X"]) + INSTALL[0] * dpi // 96
            y = int(geometry["Y"]) + INSTALL[1] * dpi // 96
            subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=env)
            action = wait_for(log, r"action OnInstall at (\d+) ms")
            shown = wait_for(log, r"CInstalling: first frame at (\d+) ms")
            change = int(shown.group(1)) - int(action.group(1))
            process.kill()
            subprocess.run(["wineserver", "-k"], env=env)
            process.wait()
        results.setdefault(dpi, []).append((int(first.group(1)), wall, change))
        print("  %d DPI run %d: start %4d ms  wall %5.0f ms  change %3d ms" % (
            dpi, run + 1, int(first.group(1)), wall, change), flush=True)

print("\n%-8s %14s %14s %14s" % ("DPI", "start ms", "wall ms", "change ms"))
for dpi, rows in results.items():
    print("%-8d %14.0f %14.0f %14.0f" % (dpi, *(statistics.median(c) for c in zip(*rows))))
print("medians; goals: start within 300 ms, a page change within 100 ms")
PY
