#!/usr/bin/env bash
# Builds the libraries Ombrel links besides Qt for 64-bit Windows with MinGW-w64, as static
# libraries: pugixml and PCRE2 from Debian's source packages (at the versions installed for the
# Linux build) and GoogleTest from /usr/src/googletest (package googletest). Each goes into
# CACHE/NAME-VERSION-RECIPE and is built only once; zlib comes ready-made from Debian
# (libz-mingw-w64-dev). Prints the prefixes, one a line.
# Usage: scripts/windows/libs.sh CACHE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=$1

# build NAME VERSION SOURCE-DIR [CMAKE-OPTION...]: configures, builds and installs into the
# prefix unless it is complete already. The recipe is this function, the toolchain file and the
# arguments: a change to any of them builds a fresh prefix.
build() {
  local name=$1 version=$2 source=$3
  shift 3
  local recipe prefix work
  recipe=$(cat <(declare -f build) "$here/mingw-w64.cmake" <(echo "$version $*") |
    sha256sum | cut -c1-12)
  prefix="$cache/$name-$version-$recipe"
  if [[ ! -f "$prefix/.complete" ]]; then
    work="$cache/work-$name-$recipe"
    rm -rf "$work" "$prefix"
    mkdir -p "$work"
    echo "Building $name $version for Windows into $prefix" >&2
    nice -n 19 cmake -G Ninja -S "$source" -B "$work" \
      -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >"$work/configure.log"
    nice -n 19 cmake --build "$work" --parallel 2 >"$work/build.log"
    cmake --install "$work" >/dev/null
    touch "$prefix/.complete"
    rm -rf "$work"
  fi
  echo "$prefix"
}

# source_of NAME VERSION: Debian's source package, unpacked (with Debian's patches) into
# CACHE/src-NAME-VERSION/NAME once; prints that folder.
source_of() {
  local name=$1 version=$2
  local sources="$cache/src-$name-$version"
  if [[ ! -d "$sources/$name" ]]; then
    rm -rf "$sources"
    mkdir -p "$sources"
    (cd "$sources" && apt-get source --download-only "$name=$version" >fetch.log 2>&1 &&
      dpkg-source -x "${name}_"*.dsc "$name" >>fetch.log 2>&1) || {
      cat "$sources/fetch.log" >&2
      exit 1
    }
  fi
  echo "$sources/$name"
}

version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
source=$(source_of pugixml "$version")
build pugixml "$version" "$source" -DPUGIXML_BUILD_TESTS=OFF

# The 8-bit and 16-bit libraries with the JIT, as the Linux build has them. The release's
# source: the mirror does not serve the source of its security updates.
version=$(dpkg-query -W -f='${Source:Version}' libpcre2-dev)
version=${version%%+deb*}
source=$(source_of pcre2 "$version")
build pcre2 "$version" "$source" -DPCRE2_BUILD_PCRE2_8=ON \
  -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_BUILD_PCRE2_32=OFF -DPCRE2_SUPPORT_JIT=ON \
  -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_LIBBZ2=OFF \
  -DPCRE2_SUPPORT_LIBZ=OFF -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF

build googletest "$(dpkg-query -W -f='${Version}' googletest)" /usr/src/googletest \
  -Dgtest_disable_pthreads=ON -DINSTALL_GTEST=ON
