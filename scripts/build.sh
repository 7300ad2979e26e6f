#!/usr/bin/env bash
# Installs what is missing, builds the dependencies once, then builds setup.exe and the tests.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}

deps=$(bash "$here/scripts/bootstrap.sh")
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-i686-mingw.cmake" \
  -DLW_DEPS_FILE="$deps" >/dev/null
cmake --build "$build" -j"$(nproc)"
