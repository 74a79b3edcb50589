#!/usr/bin/env bash
# Builds the game and plays it on the shipped data pack.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
echo "==> Starting Zorbel (Ctrl+E or closing the window quits)"
cd "$root/data"
mkdir -p SCREENSHOTS LOG PROFILES   # where the game writes; not shipped
exec "$root/build/zorbel" "$@"
