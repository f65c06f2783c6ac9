#!/usr/bin/env bash
# Makes, for the Windows filter test, one archive per branch filter (filter + LZMA2) over
# generated code, and 7zz's own extraction of it beside it: 7zz is a host program.
#   make-filter-archives.sh OUT
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out" && mkdir -p "$out"
for f in ARM ARMT ARM64 PPC SPARC IA64 RISCV; do
  mkdir -p "$out/src-$f"
  python3 "$here/make-branch-code.py" "$f" 400000 11 "$out/src-$f/code.bin"
  python3 "$here/make-branch-code.py" "$f" 333 12 "$out/src-$f/short.bin"
  (cd "$out/src-$f" && 7zz a -bd -y "-mf=$f" "../$f.7z" . >/dev/null)
  7zz x -bd -y "-o$out/ref-$f" "$out/$f.7z" >/dev/null
done
