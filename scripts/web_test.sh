#!/usr/bin/env bash
# Builds the web page, serves it on 127.0.0.1 and plays it in Debian's
# headless Chromium: screenshots of the title menu and of play (after a
# Return) go to build-web/screenshots/; fails when one is black or when a
# saved profile does not survive a reload of the page.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/web.sh"
"$root/scripts/install_packages.sh" --only chromium python3
echo "==> Playing the page in headless Chromium"
python3 "$root/scripts/web_browser.py" "$root/build-web/page" "$root/build-web/screenshots"
echo "==> Web test passed; screenshots in build-web/screenshots/"
