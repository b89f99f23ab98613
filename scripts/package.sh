#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (errors fail), validates the desktop entry
# and the AppStream metainfo, installs the package into a scratch root and runs the installed
# programs from there. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls -t build/package/ombrel_*.deb | head -n1)

desktop-file-validate packaging/ombrel.desktop
appstreamcli validate --no-net build/package/packaging/org.dravik.Ombrel.metainfo.xml
# Errors fail the run; the warnings left are listed in the README.
lintian --fail-on error --suppress-tags-from-file packaging/lintian-accepted "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
"$root/usr/bin/ombrel" --version
"$root/usr/bin/ombrel-pack" list "$root/usr/share/ombrel/ombrel.omf"
test -f "$root/usr/share/applications/ombrel.desktop"
test -f "$root/usr/share/man/man1/ombrel.1.gz"
echo "$deb"
