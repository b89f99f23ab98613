#!/usr/bin/env bash
# Builds Qt (qtbase) for 64-bit Windows with MinGW-w64 from Debian's source package, at the
# version of the installed host tools, into CACHE/qt-VERSION-RECIPE. Does nothing when that
# prefix is complete already. RECIPE is a hash of the version, the configure options, the
# toolchain file and the patch, so changing any of them builds a fresh prefix. Prints the
# prefix last. (No Qt SVG: the mirror serves qt6-svg's .dsc but not its source archives, so the
# Windows build draws its icons beforehand, see src/app/CMakeLists.txt.)
# Usage: scripts/windows/qt.sh CACHE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=$1

# Only what Ombrel uses: no SQL, OpenGL, D-Bus, Vulkan, Concurrent, Xml, JPEG, GIF, TLS,
# graphics view, Markdown or ODF, nor the widgets it has none of (the date editor stays: the
# print dialog needs it). Direct2D stays, since Qt builds its DirectWrite font engine, which
# printing uses, only with it; but not the Direct2D platform plugin (Direct2D 1.1), which builds
# the whole Windows platform plugin a second time. The bundled third-party libraries, so the
# prefix holds every DLL the program needs. The host tools (moc, rcc, uic) are Debian's of the
# same version.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DINPUT_opengl=no -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_movie=OFF -DFEATURE_tuiotouch=OFF
  -DINPUT_ssl=no -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF
  -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_undoview=OFF -DFEATURE_wizard=OFF
  -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF -DFEATURE_direct2d1_1=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_doubleconversion=OFF
)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
recipe=$(cat <(echo "$version ${options[*]}") "$here/mingw-w64.cmake" \
  "$here/qtbase-no-wintab.patch" | sha256sum | cut -c1-12)
prefix="$cache/qt-${version%%+*}-$recipe"

# qtbase_build: fetches, patches, configures, builds and installs qtbase into the prefix.
qtbase_build() {
  local work="$cache/work-qt-$recipe"
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  fetch qt6-base "$version" "$work" qtbase
  patch -d "$work/qtbase" -p1 --quiet <"$here/qtbase-no-wintab.patch"
  echo "Building Qt $version for Windows into $prefix (about half an hour on two idle cores;" \
    "log: $work/build.log)" >&2
  local started=$SECONDS
  nice -n 19 cmake -G Ninja -S "$work/qtbase" -B "$work/build" "${options[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log"
  echo "Qt fetched and configured in $((SECONDS - started)) s" >&2
  # The machine may be shared: the lowest priority, and at most two jobs.
  nice -n 19 cmake --build "$work/build" --parallel 2 >"$work/build.log"
  cmake --install "$work/build" >"$work/install.log"
  echo "Qt built and installed in $((SECONDS - started)) s" >&2
  touch "$prefix/.complete"
  rm -rf "$work"
}

# fetch PACKAGE VERSION WORK DIR: Debian's source package, with Debian's own patches applied,
# unpacked into WORK/DIR.
fetch() {
  (cd "$3" && apt-get source --download-only "$1=$2" && dpkg-source -x "$1"_*.dsc "$4") \
    >"$3/fetch.log" 2>&1 || {
    cat "$3/fetch.log" >&2
    exit 1
  }
}

if [[ ! -f "$prefix/.complete" ]]; then
  qtbase_build
fi
echo "$prefix"
