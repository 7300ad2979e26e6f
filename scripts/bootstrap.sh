#!/usr/bin/env bash
# Installs the toolchains, Wine and the test tools when they are missing, and builds the
# Windows dependencies from Debian's source packages once per machine and target (i686, the
# shipped build, and x86_64) into a cache outside the repository. Writes one CMake file of
# dependency paths per target, $cache/deps-<target>.cmake. A second run on a ready machine
# only checks and returns.
set -euo pipefail
# A failing step inside $(...) must fail the script too, not leave a build marked complete.
shopt -s inherit_errexit

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${LWSETUP_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/lwsetup-deps}
jobs=$(nproc)
targets=(i686 x86_64)
log() { printf '[bootstrap] %s\n' "$*" >&2; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev mingw-w64-tools
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  libz-mingw-w64-dev googletest cmake make dpkg-dev xz-utils
  wine wine32 wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei fonts-dejavu-core
  7zip icoutils pev librsvg2-bin python3 liblnk-utils openssl locales curl bc time
)

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; missing+=(wine32); }
  local src=/etc/apt/sources.list.d/lwsetup-src.sources
  if [ ! -f "$src" ]; then
    # Source packages come from the same archive as the binaries; this file is ours alone.
    cat > "$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    missing+=(update-only)
  fi
  [ ${#missing[@]} -eq 0 ] && return
  log "installing: ${missing[*]}"
  apt-get update -q >/dev/null
  missing=("${missing[@]/update-only/}")
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ${missing[*]} >/dev/null
}

# fetch NAME: unpacks the current Debian source of NAME (patches applied) into
# $cache/src and prints its directory.
fetch() {
  local name=$1 tmp
  tmp=$(mktemp -d "$cache/fetch.XXXXXX")
  # The source lists may be missing or stale on a machine that has every binary package.
  if ! (cd "$tmp" && apt-get source -q "$name" >/dev/null 2>&1); then
    apt-get update -q >/dev/null
    (cd "$tmp" && apt-get source -q "$name" >/dev/null)
  fi
  ls -d "$tmp"/*/ | head -n1
}

# version_of DIR: the Debian version of an unpacked source tree.
version_of() { (cd "$1" && dpkg-parsechangelog -S Version); }

# ready NAME: the finished build of NAME for the current target in the cache, if any.
ready() {
  local d
  for d in "$cache/$cross/$1"-*/; do
    if [ -f "$d.complete" ]; then echo "${d%/}"; fi
  done | tail -n1
}

build_tinyxml() {
  local src=$1 out=$2
  mkdir -p "$out/include" "$out/lib" "$out/obj"
  for f in tinyxml tinystr tinyxmlerror tinyxmlparser; do
    $cross-g++-posix -O2 -DTIXML_USE_STL -c "$src/$f.cpp" -o "$out/obj/$f.o"
  done
  $cross-ar rcs "$out/lib/libtinyxml.a" "$out"/obj/*.o
  cp "$src"/tinyxml.h "$src"/tinystr.h "$out/include/"
  rm -rf "$out/obj"
}

build_httplib() {
  local src=$1 out=$2
  mkdir -p "$out/include"
  cp "$src/httplib.h" "$out/include/"
}

# The 7z extraction set: the object lists of 7-Zip's own extract-only 7z bundle, plus
# the PPMd decoder and the file streams the client uses, compiled into one static library.
build_7zip() {
  local src=$1 out=$2 mk="$1/CPP/7zip/Bundles/Format7zExtractR/makefile"
  local -A dir=(
    [COMMON_OBJS]=CPP/Common [WIN_OBJS]=CPP/Windows [7ZIP_COMMON_OBJS]=CPP/7zip/Common
    [AR_OBJS]=CPP/7zip/Archive [AR_COMMON_OBJS]=CPP/7zip/Archive/Common
    [7Z_OBJS]=CPP/7zip/Archive/7z [COMPRESS_OBJS]=CPP/7zip/Compress [C_OBJS]=C
  )
  local files=() group="" line name
  while IFS= read -r line; do
    if [[ $line =~ ^([A-Z0-9_]+)\ =\ \\ ]]; then group=${BASH_REMATCH[1]}; continue; fi
    if [[ -n $group && $line =~ \$O\\([A-Za-z0-9_]+)\.obj ]]; then
      name=${BASH_REMATCH[1]}
      if [ -f "$src/${dir[$group]}/$name.cpp" ]; then files+=("${dir[$group]}/$name.cpp"); else files+=("${dir[$group]}/$name.c"); fi
    else
      [[ $line =~ ^[[:space:]]*$ ]] && group=""
    fi
  done < "$mk"
  files+=(C/7zCrc.c C/7zCrcOpt.c C/Ppmd7.c C/Ppmd7Dec.c CPP/7zip/Compress/PpmdDecoder.cpp
          CPP/7zip/Compress/PpmdRegister.cpp CPP/7zip/Common/FileStreams.cpp
          CPP/Windows/FileIO.cpp CPP/Windows/FileName.cpp CPP/Windows/FileDir.cpp
          CPP/Windows/FileFind.cpp CPP/Windows/TimeUtils.cpp CPP/Common/UTFConvert.cpp)
  mkdir -p "$out/obj" "$out/lib"
  local flags="-O2 -DNDEBUG -D_REENTRANT -DUNICODE -D_UNICODE -DZ7_EXTRACT_ONLY -DZ7_NO_CRYPTO -w"
  printf '%s\n' "${files[@]}" | sort -u | xargs -P "$jobs" -I{} bash -c '
    f={}; o="'"$out"'/obj/$(echo "$f" | tr / _).o"
    case "$f" in *.c) '"$cross"'-gcc-posix '"$flags"' -c "'"$src"'/$f" -o "$o";;
                 *)   '"$cross"'-g++-posix '"$flags"' -c "'"$src"'/$f" -o "$o";; esac'
  $cross-ar rcs "$out/lib/lib7zextract.a" "$out"/obj/*.o
  rm -rf "$out/obj"
  # Headers are used in place: keep the C and CPP trees.
  mkdir -p "$out/src" && cp -r "$src/C" "$src/CPP" "$out/src/"
}

build_curl() {
  local src=$1 out=$2
  (cd "$src" && ./configure -q --host=$cross CC=$cross-gcc-posix --prefix="$out" \
      --with-schannel --disable-shared --enable-static --without-zlib --without-brotli \
      --without-zstd --without-libpsl --without-libidn2 --without-nghttp2 --disable-ldap \
      --disable-ldaps --disable-rtsp --disable-dict --disable-telnet --disable-tftp --disable-pop3 \
      --disable-imap --disable-smtp --disable-gopher --disable-mqtt --disable-smb --disable-manual \
      --disable-ftp --disable-file >/dev/null &&
   make -s -j"$jobs" -C lib >/dev/null && make -s -C lib install >/dev/null &&
   make -s -C include install >/dev/null)
}

build_googletest() {
  local out=$1 b
  b=$(mktemp -d "$cache/gtest-build.XXXXXX")
  cmake -S /usr/src/googletest -B "$b" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$target-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" -Dgtest_force_shared_crt=ON >/dev/null
  cmake --build "$b" -j"$jobs" >/dev/null && cmake --install "$b" >/dev/null
  rm -rf "$b"
}

# dep NAME SOURCE-PACKAGE: builds NAME for the current target unless a finished build is
# cached.
dep() {
  local name=$1 pkg=$2 have src version out
  have=$(ready "$name")
  if [ -n "$have" ]; then echo "$have"; return; fi
  if [ "$pkg" = googletest ]; then
    version=$(dpkg-query -W -f='${Version}' googletest); src=""
  else
    src=$(fetch "$pkg"); src=${src%/}; version=$(version_of "$src")
  fi
  out="$cache/$cross/$name-$version"
  log "building $name $version for $target"
  rm -rf "$out"; mkdir -p "$out"
  case $name in
    tinyxml) build_tinyxml "$src" "$out";;
    httplib) build_httplib "$src" "$out";;
    7zip) build_7zip "$src" "$out";;
    curl) build_curl "$src" "$out";;
    googletest) build_googletest "$out";;
  esac
  touch "$out/.complete"
  if [ -n "$src" ]; then rm -rf "$(dirname "$src")"; fi
  echo "$out"
}

# Wine takes the user's language from LANG; file names in that language need the host locale.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return
  log "generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
}

install_packages
ensure_locale
for target in "${targets[@]}"; do
  cross=$target-w64-mingw32
  mkdir -p "$cache/$cross"
  # Each build on a line of its own, so that a failure stops the script here.
  tinyxml_dir=$(dep tinyxml tinyxml)
  httplib_dir=$(dep httplib cpp-httplib)
  sevenzip_dir=$(dep 7zip 7zip)
  curl_dir=$(dep curl curl)
  gtest_dir=$(dep googletest googletest)
  {
    echo "# Written by scripts/bootstrap.sh: the $target Windows builds of the dependencies."
    echo "set(LW_TINYXML_DIR \"$tinyxml_dir\")"
    echo "set(LW_HTTPLIB_DIR \"$httplib_dir\")"
    echo "set(LW_7ZIP_DIR \"$sevenzip_dir\")"
    echo "set(LW_CURL_DIR \"$curl_dir\")"
    echo "set(LW_GTEST_DIR \"$gtest_dir\")"
  } > "$cache/deps-$target.cmake.tmp"
  mv "$cache/deps-$target.cmake.tmp" "$cache/deps-$target.cmake"
done
# The folder of the deps-<target>.cmake files, for the build.
echo "$cache"
