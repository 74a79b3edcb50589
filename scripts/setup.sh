#!/usr/bin/env bash
# Installs what the build needs (Debian 12) and builds everything into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install_packages.sh"

echo "==> Configuring (build/)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "==> Building with $(nproc) jobs"
cmake --build "$root/build" -j "$(nproc)"
echo "==> Build done"
