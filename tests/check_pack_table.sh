#!/bin/sh
# Plays the shipped pack's first dimensions again with the simple player and
# fails when their table differs from docs/pack.md (regenerate it after any
# change to the pack: zorbel-tool pack-table data docs/pack.md).
# usage: check_pack_table.sh ZORBEL_TOOL DATA_DIR PACK_MD
tool=$1
data=$2
table=$3
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
"$tool" pack-table "$data" "$scratch/pack.md" || exit 1
diff -u "$table" "$scratch/pack.md"
