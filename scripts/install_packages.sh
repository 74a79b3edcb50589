#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, and any named on the
# command line, when they are missing. With --only, just those named.
#   scripts/install_packages.sh [--only] [PACKAGE...]
set -euo pipefail

packages=(build-essential cmake pkg-config
          libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libvorbis-dev libogg-dev
          libgtest-dev libbenchmark-dev
          libgl1-mesa-dri libegl1 libegl-mesa0 libgles2
          desktop-file-utils appstream)
if [[ ${1:-} == --only ]]; then
  shift
  packages=()
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "==> Installing Debian packages: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
else
  echo "==> Debian packages already installed"
fi
