#!/bin/sh
# Fails when the shipped desktop icons in dist/ differ from what the pack
# generator draws (regenerate with: zorbel-pack --icons dist).
# usage: check_icons.sh ZORBEL_PACK DIST_DIR
pack=$1
shipped=$2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
"$pack" --icons "$scratch" || exit 1
diff -r "$scratch/icons" "$shipped/icons" || exit 1
