#!/usr/bin/env bash
# Installs what the build needs (Debian 12) and builds everything into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(build-essential cmake pkg-config
          libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libvorbis-dev libogg-dev
          libgtest-dev libbenchmark-dev
          libgl1-mesa-dri libegl1 libegl-mesa0 libgles2
          desktop-file-utils appstream)
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

echo "==> Configuring (build/)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "==> Building with $(nproc) jobs"
cmake --build "$root/build" -j "$(nproc)"
echo "==> Build done"
