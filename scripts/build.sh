#!/usr/bin/env bash
# Installs what is missing, builds the dependencies once, then builds setup.exe, the tools and
# the tests for each target given (i686, the shipped build, and x86_64; both by default) into
# $LW_BUILD_DIR/<target>.
#   build.sh [i686] [x86_64]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(i686 x86_64)

deps=$(bash "$here/scripts/bootstrap.sh")
for target in "${targets[@]}"; do
  case $target in i686|x86_64) ;; *) echo "build.sh: unknown target $target" >&2; exit 2;; esac
  cmake -S "$here" -B "$build/$target" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$target-mingw.cmake" \
    -DLW_DEPS_FILE="$deps/deps-$target.cmake" -DLW_WINE_TEMPLATE="$build/wine/template" >/dev/null
  cmake --build "$build/$target" -j"$(nproc)"
done
