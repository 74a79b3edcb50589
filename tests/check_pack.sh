#!/bin/sh
# Regenerates the whole pack into a scratch folder (the generator refuses
# sounds out of balance) and fails when it differs from the shipped data/.
# usage: check_pack.sh ZORBEL_PACK DATA_DIR
pack=$1
shipped=$2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
"$pack" "$scratch" > /dev/null || exit 1
# What the game itself writes into a pack it plays in is no part of it.
diff -r -x LOG -x PROFILES -x SCREENSHOTS -x highscore.txt "$scratch" "$shipped"
