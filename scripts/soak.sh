#!/usr/bin/env bash
# Soak run: the game headless on the virtual clock, on a copy of the shipped
# pack with the largest matrix, driven for FRAMES frames by random input
# (scripts/soak_input.awk) through the replay path. Fails on a crash, a
# sanitizer report or a leak, or when resident memory keeps growing after the
# first levels.
#   scripts/soak.sh [FRAMES] [SEED]         defaults 200000 and 1
# ZORBEL_BINARY picks the program; by default the sanitizer build's
# (scripts/sanitize.sh) when there is one, else build/zorbel.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
frames=${1:-200000}
seed=${2:-1}
binary=${ZORBEL_BINARY:-}
if [ -z "$binary" ]; then
  binary="$root/build/zorbel"
  [ -x "$root/build-asan/zorbel" ] && binary="$root/build-asan/zorbel"
fi
binary=$(realpath "$binary")
[ -x "$binary" ] || { echo "soak: no program at $binary (build it first)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zorbel-soak.XXXXXX")
cp -r "$root/data/." "$work/"
# Written by the game, not shipped: start empty, as scripts/play.sh does.
rm -rf "$work/LOG" "$work/SCREENSHOTS" "$work/PROFILES" "$work/DATA/highscore.txt"
mkdir -p "$work/LOG" "$work/SCREENSHOTS" "$work/PROFILES"
# MAPSIZE 512, and a level base that asks for levels that fill it.
sed -i '/^MAPSIZE\r*$/{n;s/^[0-9]*/512/}' "$work/DATA/ini.txt"
# A faster clock (a game lasts about 1,300 frames instead of 18,000), so that
# the time runs out again and again: name entry and the table come round often.
sed -i '/^WORLDREFRESH\r*$/{n;s/^[0-9]*/'"${SOAK_WORLDREFRESH:-20}"'/}' "$work/DATA/ini.txt"
printf 'ZORBEL LEVEL BASE\r\n%s\r\n%s\r\n0\r\n0\r\n' "${SOAK_LEVEL_SIZE:-512}" \
  "${SOAK_LEVEL_SIZE:-512}" >"$work/DATA/level.base"
awk -v seed="$seed" -v frames="$frames" -f "$root/scripts/soak_input.awk" >"$work/input.txt"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
# A small quarantine, so that resident memory is the game's own.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=16:verify_asan_link_order=0"
# Libraries stay loaded to the end, for the leak check of a sanitizer build
# (see scripts/sanitize.sh).
cc -shared -fPIC -O2 -o "$work/keep_libraries.so" "$root/scripts/keep_libraries.c"
export LD_PRELOAD="$work/keep_libraries.so"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "soak: $frames frames, seed $seed, $binary, in $work"
start=$(date +%s)
(cd "$work" && exec "$binary" --replay input.txt --desktop "${SOAK_DESKTOP:-320x240}" >out.log 2>&1) &
pid=$!
# Resident memory (kB) twice a second: seconds, VmRSS, VmHWM.
while kill -0 "$pid" 2>/dev/null; do
  awk -v t=$(( $(date +%s) - start )) '/^VmRSS/ { r = $2 } /^VmHWM/ { h = $2 }
       END { if (r) print t, r, h }' "/proc/$pid/status" 2>/dev/null >>"$work/rss.log" || true
  sleep 0.5
done
status=0
wait "$pid" || status=$?
seconds=$(( $(date +%s) - start ))

failed=0
if [ "$status" -ne 0 ]; then
  echo "soak: FAILED: the game ended with status $status"; failed=1
fi
if grep -qE "Sanitizer|runtime error:" "$work/out.log"; then
  echo "soak: FAILED: sanitizer report"; failed=1
fi
if ! grep -q "^replay frames=$frames " "$work/out.log"; then
  echo "soak: FAILED: the game did not play all $frames frames"; failed=1
fi
# Flat: the last sample within 10 % + 16 MB of the highest one taken between
# a tenth and a quarter of the way (the first levels built, sounds loaded).
read -r samples early final peak < <(awk '
  BEGIN { early = peak = 0 }
  { t[NR] = $2; if ($3 > peak) peak = $3 }
  END {
    for (i = int(NR / 10) + 1; i <= int(NR / 4) + 1 && i <= NR; ++i) if (t[i] > early) early = t[i]
    print NR, early, NR ? t[NR] : 0, peak
  }' "$work/rss.log")
echo "soak: $(grep -o '^replay .*' "$work/out.log" || echo 'no summary')"
echo "soak: $(grep -L DUMMY "$work"/PROFILES/*.profile 2>/dev/null | wc -l) results saved through name entry"
echo "soak: $seconds s; resident memory early $((early / 1024)) MB, final $((final / 1024)) MB," \
     "peak $((peak / 1024)) MB ($samples samples in $work/rss.log)"
# (Runs of a few seconds are all start-up: too short to judge.)
if [ "$samples" -ge 20 ] && [ "$final" -gt $(( early + early / 10 + 16384 )) ]; then
  echo "soak: FAILED: resident memory grew from $((early / 1024)) MB to $((final / 1024)) MB"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "soak: input, output and memory log kept in $work"
  tail -30 "$work/out.log"
  exit 1
fi
[ -n "${SOAK_KEEP:-}" ] || rm -rf "$work"
