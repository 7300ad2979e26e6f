#!/usr/bin/env bash
# Runs both package-transfer benchmarks with their references in the same run and prints
# the ratios. Build first with the README's build (bash scripts/build.sh), then:
#   bash bench/run.sh [i686|x86_64]   (default: i686 where this machine runs 32-bit programs,
#                                      else x86_64; takes a few minutes)
# Extraction: about 265 MB of real files (a tar of /usr/share/doc and /usr/include) packed
# with LZMA2 once solid and once in independent 32 MB blocks; CArchiveExtractor from file
# and from memory against 7-Zip's own 7zr.exe (same source, same compiler) under Wine and
# native `7zz x`. Download: a 200 MB file served on 127.0.0.1, LHttp against native `curl -o`.
# The corpus and the reference extractor are generated into <build dir>/bench, never committed.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"
bash "$here/scripts/wine-prefix.sh" template "$root/wine/template"
mapfile -t runnable < <(bash "$here/scripts/wine-archs.sh" "$root")
target=${1:-${runnable[0]:-}}
build=$(realpath "$root/$target")
echo "benchmarking the $target build"
work=$build/bench/run
for exe in extract/bench_extract.exe download/bench_download.exe; do
  [ -f "$build/bench/$exe" ] || { echo "missing $build/bench/$exe: run bash scripts/build.sh" >&2; exit 1; }
done
sevenzr=$(bash "$here/bench/build-7zr.sh" "$build" "$target")

export WINEPREFIX=$build/wine/bench WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || bash "$here/scripts/wine-prefix.sh" fresh "$root/wine/template" "$WINEPREFIX"
# One persistent wine server for the whole run, so no program pays for starting it.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }

corpus=$build/bench/corpus
mkdir -p "$corpus" "$work"
if [ ! -f "$corpus/blocks.7z" ]; then
  echo "making the corpus (once)..."
  tar -cf "$corpus/corpus.tar" -C / usr/share/doc usr/include 2>/dev/null || true
  (cd "$corpus" && 7zz a -bso0 -bsp0 -m0=LZMA2 solid.7z corpus.tar &&
   7zz a -bso0 -bsp0 -m0=LZMA2:c=32m blocks.7z corpus.tar)
fi
unpacked=$(stat -c %s "$corpus/corpus.tar")

# timed NAME COMMAND...: the better of two runs (wall seconds of the whole process) and the
# peak resident memory, printed and kept as rate_NAME. $out is emptied before each run.
timed() {
  local name=$1 best="" kb run seconds; shift
  for run in 1 2; do
    rm -rf "$out"
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/$name.out" 2>&1 || {
      echo "$name failed:"; cat "$work/$name.out"; exit 1; }
    read -r seconds kb <"$work/time"
    if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc)" = 1 ]; then best=$seconds; fi
  done
  report "$name" "$best" "$kb"
}
# report NAME SECONDS [KB]: one line, and rate_NAME for the ratios.
report() {
  local rate; rate=$(echo "$bytes / 1048576 / $2" | bc -l)
  printf '  %-24s %7.2f s  %8.1f MB/s' "$1" "$2" "$rate"
  [ -n "${3:-}" ] && printf '  peak RSS %6.1f MB' "$(echo "$3 / 1024" | bc -l)"
  echo
  eval "rate_$(echo "$1" | tr -c 'a-z0-9\n' _)=$rate"
}
ratio() { printf '  %-40s %.2f\n' "$1" "$(echo "$2 / $3" | bc -l)"; }

bytes=$unpacked
out=$work/out
for kind in solid blocks; do
  archive=$corpus/$kind.7z
  echo "extraction, $kind ($(du -m "$archive" | cut -f1) MB packed, $((unpacked / 1048576)) MB unpacked)"
  timed lw-file wine "$build/bench/extract/bench_extract.exe" "$(winpath "$archive")" "$(winpath "$out")"
  grep -E "^(result|items|MB/s|peak)" "$work/lw-file.out" | sed 's/^/      /'
  timed lw-memory wine "$build/bench/extract/bench_extract.exe" --memory "$(winpath "$archive")" "$(winpath "$out")"
  grep -E "^(result|MB/s|peak)" "$work/lw-memory.out" | sed 's/^/      /'
  timed 7zr-wine wine "$sevenzr" x -y -bso0 -bsp0 "-o$(winpath "$out")" "$(winpath "$archive")"
  timed 7zz-native 7zz x -y -bso0 -bsp0 "-o$out" "$archive"
  rm -rf "$out"
  ratio "file / 7zr.exe (goal >= 0.95)" "$rate_lw_file" "$rate_7zr_wine"
  ratio "memory / 7zr.exe (goal >= 0.95)" "$rate_lw_memory" "$rate_7zr_wine"
  ratio "file / native 7zz" "$rate_lw_file" "$rate_7zz_native"
  echo "  memory mode: archive $(du -m "$archive" | cut -f1) MB + 64 MB is the peak private goal"
done

echo "download, 200 MB over 127.0.0.1"
www=$work/www; mkdir -p "$www"
[ -f "$www/package.7z" ] || head -c 200M /dev/urandom >"$www/package.7z"
bytes=$(stat -c %s "$www/package.7z")
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$www" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
# Both sides are timed over the transfer alone: Download inside the program, curl by itself.
out=$work/dl
timed lhttp-process wine "$build/bench/download/bench_download.exe" 127.0.0.1 "$port" /package.7z "$(winpath "$work/lhttp.bin")"
grep -E "^(result|notifications|peak)" "$work/lhttp-process.out" | sed 's/^/      /'
report lhttp "$(sed -n 's/^seconds: //p' "$work/lhttp-process.out" | tr -d '\r')"
cmp -s "$work/lhttp.bin" "$www/package.7z" || { echo "downloaded file differs"; exit 1; }
best=""
for run in 1 2; do
  seconds=$(curl -s -o "$work/curl.bin" -w '%{time_total}' "http://127.0.0.1:$port/package.7z")
  if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc)" = 1 ]; then best=$seconds; fi
done
report curl "$best"
rm -f "$work/lhttp.bin" "$work/curl.bin"
ratio "LHttp / curl -o (goal >= 0.5)" "$rate_lhttp" "$rate_curl"
