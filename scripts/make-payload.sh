#!/usr/bin/env bash
# make-payload.sh OUT_DIR [BIN_DIR] [--filler-mb N] [--release]
# Packs the demo product into OUT_DIR/zk.7z, the payload that setup.exe unpacks:
#   VIDer.exe, ZKUnInstall.exe (from BIN_DIR, default build/mingw/bin), readme.txt, license.txt
#   and data\ (from demo/VIDer/payload).
# --filler-mb N adds data\filler.bin, N MiB of incompressible bytes, for large-install measurements.
# --release makes the whole release of it instead (make-release.sh): zk.7z, 7zCore.dll and a
# setup.exe stamped with the payload's digest.
# Packed as pack-product.sh packs: the same programs give the same archive bytes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/pack-product.sh"

usage() { echo "usage: $0 OUT_DIR [BIN_DIR] [--filler-mb N] [--release]" >&2; exit 2; }

out= bin= filler_mb=0 release=0
while [ $# -gt 0 ]; do
  case "$1" in
    --release) release=1; shift ;;
    --filler-mb)
      [ $# -ge 2 ] || usage
      [[ "$2" =~ ^[0-9]{1,5}$ ]] || { echo "$0: --filler-mb wants a whole number of MiB, not '$2'" >&2; exit 2; }
      filler_mb=$((10#$2)); shift 2 ;;
    -*) usage ;;
    *)
      if [ -z "$out" ]; then out=$1; elif [ -z "$bin" ]; then bin=$1; else usage; fi
      shift ;;
  esac
done
[ -n "$out" ] || usage
bin=${bin:-$root/build/mingw/bin}

for exe in VIDer.exe ZKUnInstall.exe; do
  [ -f "$bin/$exe" ] || { echo "$0: $bin/$exe is missing; build the mingw preset first" >&2; exit 1; }
done
command -v 7zz >/dev/null || { echo "$0: 7zz is missing; run scripts/bootstrap.sh" >&2; exit 1; }

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cp "$bin/VIDer.exe" "$bin/ZKUnInstall.exe" "$stage/"
cp -R "$root/demo/VIDer/payload/." "$stage/"
if [ "$filler_mb" -gt 0 ]; then
  /usr/bin/python3 -c '
import random, sys
rng = random.Random(7)
with open(sys.argv[1], "wb") as f:
    for _ in range(int(sys.argv[2])):
        f.write(rng.randbytes(1 << 20))
' "$stage/data/filler.bin" "$filler_mb"
fi

if [ "$release" -eq 1 ]; then
  bash "$root/scripts/make-release.sh" "$stage" "$out" "$bin" >/dev/null
else
  pack_product "$stage" "$out/zk.7z"
fi
echo "$out/zk.7z"
