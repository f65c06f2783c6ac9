#!/usr/bin/env bash
# make-payload.sh OUT_DIR [BIN_DIR] [--filler-mb N]
# Packs the demo product into OUT_DIR/zk.7z, the payload that setup.exe unpacks:
#   VIDer.exe, ZKUnInstall.exe (from BIN_DIR, default build/mingw/bin), readme.txt, license.txt
#   and data\ (from demo/VIDer/payload).
# --filler-mb N adds data\filler.bin, N MiB of incompressible bytes, for large-install measurements.
# Inputs are made deterministic (fixed order, times and modes), so the same programs give the
# same archive bytes. 7zz runs with its default settings.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() { echo "usage: $0 OUT_DIR [BIN_DIR] [--filler-mb N]" >&2; exit 2; }

out= bin= filler_mb=0
while [ $# -gt 0 ]; do
  case "$1" in
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

# Fixed modes and times: 2026-01-01 00:00:00 UTC.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
find "$stage" -exec touch -h -d @1767225600 {} +

rm -f "$out/zk.7z"
(cd "$stage" && LC_ALL=C find . -mindepth 1 -maxdepth 1 | LC_ALL=C sort | sed 's|^\./||' \
   | xargs -d '\n' 7zz a -bso0 -bsp0 "$out/zk.7z" --)
echo "$out/zk.7z"
