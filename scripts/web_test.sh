#!/usr/bin/env bash
# Builds the web page, serves it on 127.0.0.1 and plays it in Debian's
# headless Chromium from the title menu to a name in the high-score table,
# then reloads it. Screenshots of each screen go to build-web/screenshots/;
# fails when one is black or when the saved profiles do not survive the
# reload. Prints the page's download size, time to the title and frame time.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/web.sh"
"$root/scripts/install_packages.sh" --only chromium python3
echo "==> Playing the page in headless Chromium"
python3 "$root/scripts/web_browser.py" "$root/build-web/page" "$root/build-web/screenshots"
echo "==> Web test passed; screenshots in build-web/screenshots/"
