#!/bin/sh
# Regenerates the pack's font into a scratch folder and fails when the font files
# differ from the shipped ones in data/ (the committed pack must be exactly
# what its generator makes).
# usage: check_font_pack.sh ZORBEL_PACK DATA_DIR
pack=$1
shipped=$2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
"$pack" --font "$scratch" || exit 1
diff -r "$scratch/GFX/FONT" "$shipped/GFX/FONT" || exit 1
cmp "$scratch/DATA/font.txt" "$shipped/DATA/font.txt" || exit 1
