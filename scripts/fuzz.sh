#!/usr/bin/env bash
# Builds the fuzz targets of the file readers with clang and libFuzzer (into
# build-fuzz/) and runs each for SECONDS (default 600), one after the other.
# The corpus grows in build-fuzz/corpus/<reader>, seeded from the shipped pack;
# a crashing input lands in build-fuzz/crashes/<reader>/ and belongs, once
# fixed, in tests/fuzz/inputs/<reader>/.
#   scripts/fuzz.sh [SECONDS] [READER...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# clang with libFuzzer and the sanitizer runtimes.
"$root/scripts/install_packages.sh" clang libclang-rt-14-dev
seconds=${1:-600}
shift || true
readers=("$@")
[ ${#readers[@]} -gt 0 ] ||
  readers=(configuration tile_definition object_definition level_base world profile)
build="$root/build-fuzz"
data="$root/data"

echo "==> Building the fuzz targets"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORBEL_FUZZ=ON -DZORBEL_TESTS=OFF -DZORBEL_BENCHMARKS=OFF >/dev/null
for reader in "${readers[@]}"; do
  cmake --build "$build" -j "$(nproc)" --target "fuzz_$reader" >/dev/null
done

# The seeds: every file of each kind the pack ships, and the kept inputs.
seed() {
  local reader=$1; shift
  mkdir -p "$build/corpus/$reader"
  for f in "$@"; do cp "$f" "$build/corpus/$reader/seed-$(basename "$f")"; done
  if [ -d "$root/tests/fuzz/inputs/$reader" ]; then
    cp "$root/tests/fuzz/inputs/$reader"/* "$build/corpus/$reader/" 2>/dev/null || true
  fi
}
seed configuration "$data/DATA/ini.txt"
seed tile_definition "$data"/DATA/TILES/*/*
seed object_definition "$data"/GFX/OBJECTS/*.dll
seed level_base "$data/DATA/level.base"
world_seed="$build/world-seed"
for world in "$data"/WORLDS/*.ai42; do
  { cat "$world"; printf '\n#ALPHA#\n'; cat "${world%.ai42}.red"; } >"$world_seed"
done
seed world "$world_seed"
profile_seed="$build/profile-seed"
printf 'USERNAME\r\nANNA\r\nUSERSCORE\r\n1200\r\nUSERGAMERSCORE\r\n0\r\nGLOBALSIGNATURE\r\n12\r\nLOCALSIGNATURE\r\n000066079' \
  >"$profile_seed"
seed profile "$profile_seed"

status=0
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
for reader in "${readers[@]}"; do
  echo "==> fuzz_$reader for ${seconds}s"
  mkdir -p "$build/crashes/$reader"
  log="$build/fuzz_$reader.log"
  # -rss_limit_mb: a reader that grows without bound is a finding too.
  if ! nice "$build/fuzz/fuzz_$reader" -max_total_time="$seconds" -print_final_stats=1 \
      -rss_limit_mb=2048 -timeout=30 -max_len=65536 \
      -artifact_prefix="$build/crashes/$reader/" "$build/corpus/$reader" >"$log" 2>&1; then
    status=1
    echo "    FOUND something: see $log and $build/crashes/$reader/"
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" | sed 's/^/    /' || true
  echo "    corpus: $(ls "$build/corpus/$reader" | wc -l) inputs"
done
exit $status
