#!/usr/bin/env bash
# Prints the targets (i686, x86_64) whose programs this machine runs under Wine, one a line.
# It starts the tiny probe program of each target's build in a fresh copy of the template
# prefix: a machine whose kernel has 32-bit emulation turned off cannot start the i686 one.
#   wine-archs.sh BUILD_ROOT     (after build.sh and wine-prefix.sh template)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
prefix=$build/wine/probe
bash "$here/scripts/wine-prefix.sh" fresh "$build/wine/template" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
declare -A width=([i686]=32 [x86_64]=64)
for target in i686 x86_64; do
  probe=$build/$target/tests/fixtures/arch_probe.exe
  [ -f "$probe" ] || continue
  said=$(timeout 120 "$here/scripts/wine-bin/wine" "$probe" 2>/dev/null </dev/null || true)
  if [ "$(printf '%s' "$said" | tr -d '\r')" = "${width[$target]}-bit" ]; then echo "$target"; fi
done
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
