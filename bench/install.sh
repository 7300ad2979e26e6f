#!/usr/bin/env bash
# Offline silent installation of about 200 MB of real files: offline_setup.exe (setup.exe's own
# packer) against an NSIS installer of the same files, under the same Wine, in the same prefix.
# Build first (bash scripts/build.sh), then:
#   bash bench/install.sh [i686|x86_64] [runs]   (default: the first target scripts/wine-archs.sh
#                                                 finds, i.e. i686 where 32-bit programs run; 3 runs)
# Both sides are timed as whole processes, start to exit (/usr/bin/time, wall seconds), each
# run into a fresh empty directory, the two sides interleaved; medians, min and max are printed.
# Shapes: the tree of real files (/usr/share/doc + /usr/include, regular files, trimmed to
# ~200 MB) and a one-file tar of that tree. The i686 build is measured against NSIS's
# x86-unicode stub, the x86_64 build against its amd64-unicode stub (Debian package nsis,
# installed when missing). A first, untimed installation of each checks what arrived and
# samples the installer's own Linux process from /proc/<pid>/status every 10 ms: the peak of
# its anonymous resident memory (RssAnon, the private part) and its VmHWM (the whole resident
# set, the mapped executable with its payload included); it also prints the phases, read off
# the change times of what the installer wrote. Ours is packed twice for the tree, LZMA2 in
# 16 MB solid blocks (two threads decode two blocks at once, each into a buffer of its
# block's size) and non-solid (-ms=off); the latter is only profiled, not timed.
# All reports go to http://127.0.0.1:1 where nothing listens. Corpus, installers and prefix
# live under <build dir>/<target>/bench/install, never committed.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(realpath -m "${LW_BUILD_DIR:-$here/build}")
export PATH="$here/scripts/wine-bin:$PATH"

# Without a display the rest runs again inside Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
fi
command -v makensis >/dev/null || apt-get install -y nsis >/dev/null
bash "$here/scripts/wine-prefix.sh" template "$root/wine/template"
if [ -n "${1:-}" ]; then target=$1; else
  mapfile -t runnable < <(bash "$here/scripts/wine-archs.sh" "$root")
  target=${runnable[0]:-}
fi
runs=${2:-3}
case $target in
  i686) stub=x86-unicode;;
  x86_64) stub=amd64-unicode;;
  *) echo "Wine runs neither the i686 nor the x86_64 build on this machine" >&2; exit 1;;
esac
build=$root/$target
[ -f "$build/setup.exe" ] || { echo "missing $build/setup.exe: run bash scripts/build.sh" >&2; exit 1; }
echo "the $target setup.exe against NSIS's $stub stub, $runs runs each"
work=$build/bench/install
corpus=$work/corpus
mkdir -p "$work"

# The corpus: regular files only, with names Windows can hold and that stay distinct when case
# is ignored; the largest files are left out until ~200 MB remain, so the count stays high.
if [ ! -f "$corpus/.ready" ]; then
  echo "making the corpus (once)..."
  rm -rf "$corpus"; mkdir -p "$corpus/tree"
  (cd / && find usr/share/doc usr/include -type f -printf '%s %p\n') | python3 -c '
import sys
seen, files = set(), []
for line in sys.stdin:
    size, path = line.rstrip("\n").split(" ", 1)
    if any(c in path for c in "\\:*?\"<>|") or path.lower() in seen: continue
    seen.add(path.lower()); files.append((int(size), path))
total = sum(size for size, _ in files)
files.sort(reverse=True)
while total > 200 * 1000 * 1000:
    total -= files.pop(0)[0]
for _, path in sorted(files, key=lambda f: f[1]): print(path)
' >"$corpus/list"
  tar -cf - -C / -T "$corpus/list" | tar -xf - -C "$corpus/tree"
  tar -cf "$corpus/corpus.tar" -C "$corpus/tree" .
  touch "$corpus/.ready"
fi
files=$(wc -l <"$corpus/list")
bytes=$(cd "$corpus/tree" && tr "\n" "\0" <"$corpus/list" | xargs -0 stat -c %s | paste -sd+ | bc)
echo "corpus: $files files, $((bytes / 1048576)) MB; tar $(($(stat -c %s "$corpus/corpus.tar") / 1048576)) MB"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
bash "$here/scripts/wine-prefix.sh" fresh "$root/wine/template" "$WINEPREFIX"
# The shell folders stay inside the prefix, so the links both installers make never reach
# the host's home.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link"; mkdir "$link"; fi
done
# One persistent wine server, so that no installer pays for starting it.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }

# ours SHAPE NAME 7ZZ-SWITCHES...: packs the shape's payload with 7zz and setup.exe -p into
# $work/installers/NAME.exe.
installers=$work/installers
mkdir -p "$installers"
ours() {
  local shape=$1 name=$2; shift 2
  [ -f "$installers/$name.exe" ] && return
  local pack="$work/pack ours"
  rm -rf "$pack"; mkdir -p "$pack"
  if [ "$shape" = tree ]; then
    (cd "$corpus/tree" && 7zz a -t7z -bso0 -bsp0 "$@" "$pack/lwpic64.7z" . >/dev/null)
  else
    (cd "$corpus" && 7zz a -t7z -bso0 -bsp0 "$@" "$pack/lwpic64.7z" corpus.tar >/dev/null)
  fi
  cp "$here/resources/uidata.xml" "$pack/uidata.xml"
  local item
  for item in Report_Url:http://127.0.0.1:1/c APP_URL_32:http://127.0.0.1:1/lwpic32.7z \
              APP_URL_64:http://127.0.0.1:1/lwpic64.7z; do
    sed -i "s|<item name=\"${item%%:*}\">[^<]*</item>|<item name=\"${item%%:*}\">${item#*:}</item>|" \
      "$pack/uidata.xml"
  done
  cp "$build/setup.exe" "$pack/setup.exe"
  wine "$pack/setup.exe" -p "$(winpath "$pack/lwpic64.7z")" "$(winpath "$pack/uidata.xml")" \
    </dev/null >/dev/null 2>&1 || true
  [ -f "$pack/offline_setup.exe" ] || { echo "the packer made no installer for $name" >&2; exit 1; }
  echo "  $name: payload $(($(stat -c %s "$pack/lwpic64.7z") / 1048576)) MB ($*)"
  stat -c %s "$pack/lwpic64.7z" >"$installers/$name.payload"
  mv "$pack/offline_setup.exe" "$installers/$name.exe"
  rm -rf "$pack"
}
# nsis SHAPE NAME: the same files, solid LZMA, a small uninstaller, an Uninstall entry and a
# desktop link, as ours makes.
nsis() {
  local shape=$1 name=$2
  [ -f "$installers/$name.exe" ] && return
  local source
  if [ "$shape" = tree ]; then source="File /r \"$corpus/tree/*\""; else source="File \"$corpus/corpus.tar\""; fi
  cat >"$work/$name.nsi" <<EOF
Unicode true
Target $stub
SetCompressor /SOLID lzma
Name "NsisBench"
OutFile "$installers/$name.exe"
InstallDir "C:\\nsisbench"
RequestExecutionLevel admin
Section
  SetOutPath "\$INSTDIR"
  $source
  WriteUninstaller "\$INSTDIR\\uninst.exe"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NsisBench" "DisplayName" "NsisBench"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NsisBench" "UninstallString" "\$INSTDIR\\uninst.exe"
  CreateShortcut "\$DESKTOP\\NsisBench.lnk" "\$INSTDIR\\uninst.exe"
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
SectionEnd
EOF
  makensis -V1 "$work/$name.nsi" >/dev/null
  echo "  $name: $(($(stat -c %s "$installers/$name.exe") / 1048576)) MB (SetCompressor /SOLID lzma, $stub)"
}

echo "packing (once)..."
ours tree ours-tree-16m -m0=LZMA2 -ms=16m -mmt=2
ours tree ours-tree-off -m0=LZMA2 -ms=off -mmt=2
ours tar ours-tar-16m -m0=LZMA2:c=16m -mmt=2
nsis tree nsis-tree
nsis tar nsis-tar

# The installers' target folders inside the prefix; each run starts from an empty one.
dest=$WINEPREFIX/drive_c/bench
command_of() {  # NAME -> the command line that installs it
  case $1 in
    ours-*) echo "wine $installers/$1.exe /s d=C:\\bench\\$1";;
    nsis-*) echo "wine $installers/$1.exe /S /D=C:\\bench\\$1";;
  esac
}
installed_dir() { case $1 in ours-*) echo "$dest/$1/LarwenPic";; *) echo "$dest/$1";; esac; }
# run_once NAME: one installation into an empty directory; prints the wall seconds.
run_once() {
  rm -rf "${dest:?}/$1"
  local cmd; read -ra cmd <<<"$(command_of "$1")"
  /usr/bin/time -f "%e" -o "$work/time" "${cmd[@]}" </dev/null >"$work/$1.out" 2>&1 || {
    echo "$1 failed:" >&2; cat "$work/$1.out" >&2; exit 1; }
  cat "$work/time"
}
# check NAME: every corpus file arrived, byte for byte.
check() {
  local got; got=$(installed_dir "$1")
  if [[ $1 == *tree* ]]; then
    diff -rq "$corpus/tree" "$got" | grep -v "^Only in $got" || true
  else
    cmp "$corpus/corpus.tar" "$got/corpus.tar" || true
  fi
}
# profiled NAME: one untimed installation that samples the installer's own Linux process
# (not Wine's start.exe in front of it) from /proc every 10 ms, then reads the phases off the
# change times of what it wrote. Prints "RssAnon-peak-MB VmHWM-MB" and the phases.
profiled() {
  rm -rf "${dest:?}/$1"
  local cmd; read -ra cmd <<<"$(command_of "$1")"
  local begin; begin=$(date +%s.%N)
  "${cmd[@]}" </dev/null >/dev/null 2>&1 &
  local starter=$!
  python3 - "$1.exe" "$starter" <<'PY'
import os, sys, time
name, starter = sys.argv[1], int(sys.argv[2])
peak = {"RssAnon": 0, "VmHWM": 0}
while os.path.exists("/proc/%d" % starter):
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or int(pid) == os.getpid(): continue
        try:
            line = open("/proc/%s/cmdline" % pid, "rb").read()
            if name.encode() not in line or line.startswith(b"start.exe"): continue
            for line in open("/proc/%s/status" % pid):
                key = line.split(":")[0]
                if key in peak: peak[key] = max(peak[key], int(line.split()[1]))
        except OSError:
            pass
    time.sleep(0.01)
print("%.1f %.1f" % (peak["RssAnon"] / 1024, peak["VmHWM"] / 1024))
PY
  wait "$starter" || true
  local finish; finish=$(date +%s.%N)
  python3 - "$(installed_dir "$1")" "$corpus/list" "$begin" "$finish" <<'PY'
import os, sys
root, listing, begin, finish = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
files = [os.path.join(root, p.rstrip("\n")) for p in open(listing)]
if not os.path.exists(files[0]): files = [os.path.join(root, "corpus.tar")]
times = [os.stat(f).st_ctime for f in files]
steps = [("first file", min(times)), ("last file", max(times))]
for extra in ("uninstall.exe", "uninst.exe", "AppData.ini"):
    path = os.path.join(root, extra)
    if os.path.exists(path): steps.append((extra, os.stat(path).st_ctime))
steps.append(("exit", finish))
print("phases (s from start): " + ", ".join("%s %.1f" % (n, t - begin) for n, t in steps))
PY
}

# A first, untimed installation of each: what arrived, peak memory and phases.
declare -A anon hwm
echo "one profiled installation of each..."
for name in ours-tree-16m ours-tree-off nsis-tree ours-tar-16m nsis-tar; do
  { read -r anon[$name] hwm[$name]; read -r phases; } < <(profiled "$name")
  bad=$(check "$name")
  [ -z "$bad" ] || { echo "$name installed something else:"; echo "$bad" | head; exit 1; }
  echo "  $name: peak RssAnon ${anon[$name]} MB, VmHWM ${hwm[$name]} MB"
  echo "      $phases"
done
# -ms=off is timed in the profiled run only: a tree installation takes minutes.
names=(ours-tree-16m nsis-tree ours-tar-16m nsis-tar)
declare -A times
echo "timing ($runs interleaved runs)..."
for run in $(seq "$runs"); do
  for name in "${names[@]}"; do times[$name]+="$(run_once "$name") "; done
  echo "  run $run: $(for n in "${names[@]}"; do printf '%s %ss  ' "$n" "$(echo ${times[$n]} | awk '{print $NF}')"; done)"
done
rm -rf "${dest:?}"
stats() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END {m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%.2f %.2f %.2f\n", m, v[1], v[NR]}'; }
declare -A median
echo
printf '%-15s %8s %8s %8s %9s %14s %12s\n' installer "median s" "min s" "max s" "size MB" "RssAnon peak" "VmHWM MB"
for name in "${names[@]}"; do
  read -r med lo hi < <(echo "${times[$name]}" | stats)
  median[$name]=$med
  printf '%-15s %8s %8s %8s %9.1f %14s %12s\n' "$name" "$med" "$lo" "$hi" \
    "$(echo "$(stat -c %s "$installers/$name.exe") / 1048576" | bc -l)" "${anon[$name]}" "${hwm[$name]}"
done
echo
for pair in ours-tree-16m:nsis-tree ours-tar-16m:nsis-tar; do
  a=${pair%%:*}; b=${pair#*:}
  printf '%-32s %.2f   (goal <= 0.80)\n' "$a / $b" "$(echo "${median[$a]} / ${median[$b]}" | bc -l)"
done
for name in ours-tree-16m ours-tree-off ours-tar-16m; do
  printf '%-32s archive %.1f MB + 64 MB = %.1f MB is the peak private goal\n' "$name" \
    "$(echo "$(cat "$installers/$name.payload") / 1048576" | bc -l)" \
    "$(echo "$(cat "$installers/$name.payload") / 1048576 + 64" | bc -l)"
done
