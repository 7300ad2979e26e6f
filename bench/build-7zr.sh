#!/usr/bin/env bash
# Builds the reference extractor for the extraction benchmark: 7-Zip's own console 7zr.exe,
# from the same 7-Zip source and with the same MinGW compiler as the product's 7z code.
# bash bench/build-7zr.sh <build dir> <i686|x86_64>   -> <build dir>/bench/7zr/7zr.exe
# (never shipped)
set -euo pipefail
build=$1
cross=$2-w64-mingw32
out=$build/bench/7zr
[ -f "$out/7zr.exe" ] && { echo "$out/7zr.exe"; exit 0; }
src=$(ls -d "${LWSETUP_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/lwsetup-deps}/$cross"/7zip-*/src | head -n1)
# The makefile writes its objects beside the sources: build in a copy, never in the cache.
rm -rf "$out/src" && mkdir -p "$out" && cp -r "$src/C" "$src/CPP" "$out/"
mkdir -p "$out/src" && mv "$out/C" "$out/CPP" "$out/src/"
make -s -C "$out/src/CPP/7zip/Bundles/Alone7z" -f makefile.gcc -j2 SystemDrive=C: \
  CC=$cross-gcc-posix CXX=$cross-g++-posix RC=$cross-windres \
  >"$out/build.log" 2>&1
cp "$out/src/CPP/7zip/Bundles/Alone7z/_o/7zr.exe" "$out/7zr.exe"
rm -rf "$out/src"
echo "$out/7zr.exe"
