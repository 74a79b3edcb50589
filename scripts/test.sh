#!/usr/bin/env bash
# Builds everything and runs every test, headless: the desktop tests, then the
# web page played in a headless browser.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The web test's emscripten and Chromium come in the same install as the rest.
"$root/scripts/install_packages.sh" emscripten chromium dpkg-dev python3
"$root/scripts/setup.sh"
echo "==> Running the tests"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
"$root/scripts/web_test.sh"
