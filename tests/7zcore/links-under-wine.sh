#!/usr/bin/env bash
# The 32-bit writer under Wine refuses a folder inside the target that is a link, and leaves alone a
# link or a file found under its temporary name, using another name. Wine shows a host symbolic link as a reparse
# point, as Windows shows a junction or a symbolic link; Windows also has mount points and other
# reparse tags, which Wine cannot make.
# usage: links-under-wine.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip7() { bash "$source_dir/scripts/wine-run.sh" "$bin_dir/zk7z.exe" x "$(winepath -w "$1" 2>/dev/null)" \
             "$(winepath -w "$2" 2>/dev/null)" >"$work/out.txt" 2>&1 </dev/null; }
. "$source_dir/scripts/wine-env.sh"

mkdir -p "$work/src/data" "$work/elsewhere" "$work/out"
head -c 5000 /dev/urandom >"$work/src/data/x.bin"
echo readme >"$work/src/readme.txt"
(cd "$work/src" && 7zz a -bso0 -bsp0 "$work/a.7z" data readme.txt) || fail "7zz a"
echo victim >"$work/elsewhere/keep.txt"

ln -s "$work/elsewhere" "$work/out/data"
unzip7 "$work/a.7z" "$work/out" && fail "a linked folder was written through"
grep -q 'refusing to write through' "$work/out.txt" || fail "no reason given: $(cat "$work/out.txt")"
[ ! -e "$work/elsewhere/x.bin" ] || fail "a file reached the linked folder"

rm "$work/out/data"
ln -s "$work/elsewhere/keep.txt" "$work/out/readme.txt.zk7z~part"
echo "left by a crash" >"$work/out/readme.txt.zk7z~part1"
unzip7 "$work/a.7z" "$work/out" || fail "taken temporary names stopped the unpack: $(cat "$work/out.txt")"
[ -L "$work/out/readme.txt.zk7z~part" ] || fail "the planted link was touched"
[ "$(cat "$work/out/readme.txt.zk7z~part1")" = "left by a crash" ] || fail "the left file was touched"
[ ! -L "$work/out/readme.txt" ] && cmp -s "$work/src/readme.txt" "$work/out/readme.txt" || fail "readme.txt was not written"
[ "$(cat "$work/elsewhere/keep.txt")" = victim ] || fail "the link's target was changed"
echo "PASS: links inside the target"
