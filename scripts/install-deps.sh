#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Ombrel, and the packages named
# as arguments (scripts/windows.sh names its own).
# Quick when everything is already present: apt is only called for missing packages.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins qt6-wayland libgl-dev
  zlib1g-dev libpugixml-dev libsystemd-dev systemd-journal-remote
  libcanberra-dev sound-theme-freedesktop libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  fonts-dejavu-core xvfb xauth dbus-daemon weston poppler-utils
  desktop-file-utils appstream lintian dpkg-dev file
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
