#!/usr/bin/env bash
# Makes the payload the Windows extraction test unpacks: 7zz is a host program, so the archive
# is built here, before the test runs under Wine.
set -euo pipefail
out=$1
rm -rf "$out" && mkdir -p "$out/src/zkbin/plugins" "$out/src/empty"
head -c 3000000 /dev/urandom > "$out/src/zkbin/data.bin"
seq 1 300000 > "$out/src/zkbin/plugins/list.txt"
printf 'readme' > "$out/src/说明.txt"
cp "$(command -v 7zz)" "$out/src/zkbin/VIDer.exe"
(cd "$out/src" && 7zz a -bd -y ../zk.7z . >/dev/null)
(cd "$out/src" && 7zz a -bd -y -mx9 ../zk-max.7z . >/dev/null)
