#!/usr/bin/env bash
# make-release.sh PRODUCT_DIR OUT_DIR [BIN_DIR]
# Turns a product folder into the three files users get, in OUT_DIR:
#   zk.7z        the product folder's contents, packed as pack-product.sh packs them;
#   7zCore.dll   the unpacking component, from BIN_DIR (default build/mingw/bin);
#   setup.exe    a copy of BIN_DIR's setup.exe with zk.7z's SHA-256 and size written into it as a
#                resource by zkstamp.exe (under Wine). A vendor that signs setup.exe signs after this.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/pack-product.sh"

[ $# -ge 2 ] && [ $# -le 3 ] || { echo "usage: $0 PRODUCT_DIR OUT_DIR [BIN_DIR]" >&2; exit 2; }
product=$1 out=$2 bin=${3:-$root/build/mingw/bin}
[ -d "$product" ] || { echo "$0: $product is not a folder" >&2; exit 1; }
for file in setup.exe 7zCore.dll zkstamp.exe; do
  [ -f "$bin/$file" ] || { echo "$0: $bin/$file is missing; build the mingw preset first" >&2; exit 1; }
done

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -R "$product/." "$stage/"
pack_product "$stage" "$out/zk.7z"

cp "$bin/7zCore.dll" "$out/7zCore.dll"
rm -f "$out/setup.exe"
cp "$bin/setup.exe" "$stage/setup.exe.new"
digest=$(sha256sum "$out/zk.7z" | cut -d' ' -f1)
size=$(stat -c %s "$out/zk.7z")
(
  . "$root/scripts/wine-env.sh"
  wine "$bin/zkstamp.exe" "$(winepath -w "$stage/setup.exe.new")" "$digest" "$size" </dev/null
) || { echo "$0: zkstamp could not stamp setup.exe" >&2; exit 1; }
mv "$stage/setup.exe.new" "$out/setup.exe"
echo "$out/setup.exe"
