#!/usr/bin/env bash
# Cross-builds Ombrel for 64-bit Windows on Debian 12 and tests it under Wine: installs what is
# missing, builds Qt, pugixml, PCRE2 and GoogleTest for MinGW-w64 into a cache that later runs reuse
# (the first run takes about half an hour on two idle cores, later runs only build Ombrel),
# builds ombrel.exe, ombrel-pack.exe and the tests, runs the tests under wine64 with Qt's
# offscreen platform, and makes the installer build/windows/ombrel-setup-VERSION.exe with NSIS,
# which it installs silently into a fresh Wine prefix and runs from there.
#
# The cache is OMBREL_WINDOWS_CACHE, else /var/cache/ombrel-windows when writable, else
# ~/.cache/ombrel-windows.
#
# Usage: scripts/windows.sh [packages|libraries]: only install the packages, or only install
# them and build the libraries (so CI can build Qt while the Linux tests run); all by default.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build/windows"
step=${1:-all}
case $step in
  all | packages | libraries) ;;
  *)
    echo "usage: $0 [packages|libraries]" >&2
    exit 2
    ;;
esac

bash scripts/install-deps.sh cmake ninja-build qt6-base-dev-tools g++-mingw-w64-x86-64-posix \
  libz-mingw-w64-dev googletest wine wine64 nsis dpkg-dev librsvg2-bin icoutils python3 xvfb xauth \
  x11-apps netpbm

# Debian's source packages of Qt, pugixml and PCRE2 need a deb-src entry for bookworm.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package:'; then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/ombrel-windows-src.sources >/dev/null
  "${sudo_cmd[@]}" apt-get update >/dev/null
fi
[[ $step == packages ]] && exit 0

cache=${OMBREL_WINDOWS_CACHE:-}
if [[ -z "$cache" ]]; then
  if mkdir -p /var/cache/ombrel-windows 2>/dev/null && [[ -w /var/cache/ombrel-windows ]]; then
    cache=/var/cache/ombrel-windows
  else
    cache="${XDG_CACHE_HOME:-$HOME/.cache}/ombrel-windows"
  fi
fi
mkdir -p "$cache"

# One run at a time builds into the cache; another waits for it.
exec 9>"$cache/lock"
flock 9
started=$SECONDS
qt=$(bash scripts/windows/qt.sh "$cache" | tail -n1)
mapfile -t libs < <(bash scripts/windows/libs.sh "$cache")
flock -u 9
echo "Libraries ready in $((SECONDS - started)) s: $qt ${libs[*]}"
[[ $step == libraries ]] && exit 0

# Wine: a prefix of this build's own, quiet, without offers to install Mono or Gecko.
export WINEPREFIX="$build/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX" # wineserver needs the folder, wineboot fills it
wineserver -k 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# The boot that makes a prefix leaves two service managers running. Each start of the COM service
# then waits 10 s and fails, and the desktop process, with the test program waiting on it,
# stalls. The prefix is booted once more, from a stopped server: one of each.
wineboot --init >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; exit 1; }
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p # stays up while this script runs: every test program starts faster
wineboot >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; exit 1; }
# A desktop process of this script's own stays up for all the tests. Started by the first test
# program instead, it would hold that program's output open, and so its time in ctest's eyes,
# until well after the last one ends. The boot's own desktop process lingers a moment: while it
# does, a new one finds it and quits at once.
for _ in 1 2 3 4 5; do
  wine explorer.exe /desktop >/dev/null 2>&1 &
  sleep 2
  kill -0 $! 2>/dev/null && break
done
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
runtime_dirs=("$qt/bin" "$gcc_runtime" /usr/x86_64-w64-mingw32/lib)
WINEPATH=$(for dir in "${runtime_dirs[@]}"; do winepath -w "$dir"; done | paste -sd';')
export WINEPATH

started=$SECONDS
prefixes=$(printf '%s;' "$qt" "${libs[@]}")
# pkg-config (for PCRE2) reads the MinGW libraries' .pc files only.
PKG_CONFIG_LIBDIR=$(printf '%s/lib/pkgconfig:' "${libs[@]}") cmake -G Ninja -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw-w64.cmake" \
  -DOMBREL_WINDOWS_PREFIXES="$prefixes" -DCMAKE_PREFIX_PATH="$prefixes" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
  -DCMAKE_BUILD_TYPE=Release -DOMBREL_WERROR=ON -DOMBREL_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build" --parallel 2
echo "Ombrel built in $((SECONDS - started)) s"

# Qt's offscreen platform on Windows reads fonts from one folder: the DejaVu fonts the Linux
# tests see too. (Wine passes QT_* variables on only when named WINEQT_*.)
WINEQT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)
export WINEQT_QPA_FONTDIR
started=$SECONDS
ctest --test-dir "$build" --output-on-failure --parallel 2 --timeout 300
echo "Tests passed under Wine in $((SECONDS - started)) s"

started=$SECONDS
bash scripts/windows/installer.sh "$build" "$qt" "$gcc_runtime"
echo "Installer made and checked in $((SECONDS - started)) s"
