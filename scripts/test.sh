#!/usr/bin/env bash
# Builds everything and runs every test, headless.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
echo "==> Running the tests"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
