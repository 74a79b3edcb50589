#!/usr/bin/env bash
# Builds the game and plays it on the shipped data pack.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
echo "==> Starting Zorbel (Ctrl+E or closing the window quits)"
cd "$root/data"
exec "$root/build/zorbel" "$@"
