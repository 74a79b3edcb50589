#!/usr/bin/env bash
# Puts plausible one-line faults (scripts/mutations.txt) into a scratch copy
# of the game, one at a time, builds it, runs the tests and reports for each
# fault whether a test caught it.
# usage: scripts/mutate.sh [TEXT]     only the faults whose line holds TEXT
# The copy and its build live in $MUTATE_DIR (/tmp/zorbel-mutate); the copy
# is of the working tree as it is now, so a test being written counts.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list="$root/scripts/mutations.txt"
work=${MUTATE_DIR:-/tmp/zorbel-mutate}
only=${1:-}
jobs=$(nproc)

stage="$work/stage"
rm -rf "$stage"
mkdir -p "$stage" "$work/src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 tar cf - --ignore-failed-read 2>/dev/null) | (cd "$stage" && tar xf -)
# Into the copy a build already knows: what changed gets a fresh time (an
# edit older than the last build's objects would be taken as built), what
# is gone goes.
(cd "$stage" && find . -type f) | while IFS= read -r f; do
  cmp -s "$stage/$f" "$work/src/$f" || { mkdir -p "$(dirname "$work/src/$f")"; cp "$stage/$f" "$work/src/$f"; }
done
(cd "$work/src" && find . -type f) | while IFS= read -r f; do
  [ -e "$stage/$f" ] || rm -f "$work/src/$f"
done

build() { cmake --build "$work/build" -j"$jobs" >"$work/build.log" 2>&1; }
# The soak plays random input for half a minute and finds crashes, not these.
run_tests() {
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    ctest --test-dir "$work/build" -j"$jobs" --stop-on-failure --timeout 120 -E '^soak' \
    >"$work/test.log" 2>&1
}

# The tests of the fault's own folder first (src/world -> test_world): most
# faults are caught there in seconds; only what they miss runs everything.
caught_by_own_tests() {
  local sub program
  sub=$(echo "$1" | sed -n 's|^src/\([a-z]*\)/.*|\1|p')
  program="test_$sub"
  [ -n "$sub" ] && [ -d "$work/src/tests/$sub" ] || return 1
  cmake --build "$work/build" -j"$jobs" --target "$program" >"$work/build.log" 2>&1 || return 2
  ! (cd "$work/build/tests" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
       timeout 120 "./$program" --gtest_brief=1 >"$work/test.log" 2>&1)
}

cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
build || { echo "mutate: the unchanged copy does not build ($work/build.log)"; exit 2; }
run_tests || { echo "mutate: the unchanged copy fails its tests ($work/test.log)"; exit 2; }

caught=0 missed=0 stale=0
while IFS= read -r line; do
  [[ -z "$line" || "$line" == \#* ]] && continue
  [[ -n "$only" && "$line" != *"$only"* ]] && continue
  file=${line%% @@ *}; rest=${line#* @@ }
  text=${rest%% @@ *}; rest=${rest#* @@ }
  replacement=${rest%% @@ *}; what=${rest#* @@ }
  target="$work/src/$file"
  count=$(TEXT="$text" perl -0ne '$n = () = /\Q$ENV{TEXT}\E/g; print $n + 0' "$target" 2>/dev/null)
  if [ "${count:-0}" != 1 ]; then
    echo "STALE   $file: $what (the text is there ${count:-0} times)"
    stale=$((stale + 1))
    continue
  fi
  cp -p "$target" "$work/original"
  TEXT="$text" REPLACEMENT="$replacement" perl -0pi -e 's/\Q$ENV{TEXT}\E/$ENV{REPLACEMENT}/' "$target"
  start=$SECONDS
  caught_by_own_tests "$file"
  own=$?
  if [ "$own" -eq 0 ]; then
    result="caught "; caught=$((caught + 1))
  elif [ "$own" -eq 2 ] || ! build; then
    result="NOBUILD"
  elif run_tests; then
    result="MISSED "; missed=$((missed + 1))
  else
    result="caught "; caught=$((caught + 1))
  fi
  cp "$work/original" "$target"   # a fresh time: the next build compiles it again
  echo "$result $file: $what ($((SECONDS - start)) s)"
done <"$list"
build
echo "mutate: $caught caught, $missed missed, $stale stale"
[ "$missed" -eq 0 ] && [ "$stale" -eq 0 ]
