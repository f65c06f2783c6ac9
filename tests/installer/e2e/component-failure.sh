#!/usr/bin/env bash
# Setup's own component cannot be used: 7zCore.dll is missing beside setup.exe, or a DLL of that
# name lacks the UnzipCore7z export. The wizard still opens, page 2 shows a failure text of its
# own (not the missing-archive one), the log names the file, nothing is unpacked, registered or
# linked, and the close button ends setup with exit code 0.
# usage: component-failure.sh SOURCE_DIR BIN_DIR PLANTED_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2 planted=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

opening=72x21+52+367   # installproglab: its padding and "安装失败："
reason=150x21+130+367  # the rest

e2e_stage
mv "$stage/zk.7z" "$work/zk.7z"
e2e_install_fails no-archive
mv "$work/zk.7z" "$stage/zk.7z"

rm "$stage/7zCore.dll"
e2e_install_fails no-component
grep -a -q '7zCore\.dll' "$log" || fail "no-component: the log does not name 7zCore.dll: $(cat "$log")"
[ -z "$(ls -A "$bin" 2>/dev/null)" ] || fail "no-component: files were unpacked"

cp "$planted/7zCore.dll" "$stage/7zCore.dll"
e2e_install_fails exportless
grep -a -q '7zCore\.dll lacks the export UnzipCore7z' "$log" \
  || fail "exportless: the log does not name the file and export: $(cat "$log")"
[ -z "$(ls -A "$bin" 2>/dev/null)" ] || fail "exportless: files were unpacked"

for name in no-component exportless; do
  same_region "$shots/no-archive.png" "$shots/$name.png" $opening || fail "$name: the label does not open as a failure"
  other_region "$shots/no-archive.png" "$shots/$name.png" $reason || fail "$name: it reads as a missing archive"
done
same_region "$shots/no-component.png" "$shots/exportless.png" $reason || fail "the two component failures read differently"
echo "PASS: component failures"
