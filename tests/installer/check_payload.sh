#!/usr/bin/env bash
# check_payload.sh REPO_ROOT BIN_DIR
# The payload script packs exactly the demo product, byte for byte, gives the same archive on
# every run, and refuses to run without the programs.
set -uo pipefail
root=$1 bin=$2
script="$root/scripts/make-payload.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
problems=0
fail() { echo "FAIL: $*"; problems=$((problems + 1)); }

bash "$script" "$work/a" "$bin" >/dev/null || fail "make-payload.sh failed"
sleep 1  # a second run in another second must still give the same bytes
bash "$script" "$work/b" "$bin" >/dev/null || fail "second make-payload.sh failed"
cmp -s "$work/a/zk.7z" "$work/b/zk.7z" || fail "two runs gave different archives"

7zz t "$work/a/zk.7z" >/dev/null || fail "7zz finds the archive damaged"
listed=$(7zz l -slt "$work/a/zk.7z" | sed -n 's/^Path = //p' | tail -n +2 | LC_ALL=C sort | tr '\n' ' ')
want="VIDer.exe ZKUnInstall.exe data data/presets data/presets/1080p.json data/presets/720p.json data/settings.ini license.txt readme.txt "
[ "$listed" = "$want" ] || fail "archive holds: $listed"

mkdir -p "$work/x"
7zz x -bso0 -o"$work/x" "$work/a/zk.7z" || fail "7zz could not unpack the archive"
for exe in VIDer.exe ZKUnInstall.exe; do
  cmp -s "$bin/$exe" "$work/x/$exe" || fail "$exe differs after unpacking"
done
(cd "$root/demo/VIDer/payload" && find . -type f) | while read -r f; do
  cmp -s "$root/demo/VIDer/payload/$f" "$work/x/$f" || echo "FAIL: $f differs after unpacking"
done | grep FAIL && problems=$((problems + 1))

bash "$script" "$work/f" "$bin" --filler-mb 1 >/dev/null || fail "make-payload.sh --filler-mb 1 failed"
size=$(7zz l -slt "$work/f/zk.7z" | awk '/^Path = data\/filler.bin$/ {found=1} found && /^Size = / {print $3; exit}')
[ "$size" = "1048576" ] || fail "filler is '$size' bytes, want 1048576"

mkdir -p "$work/empty"
if bash "$script" "$work/none" "$work/empty" 2>"$work/err"; then
  fail "make-payload.sh succeeded without the programs"
fi
grep -q "VIDer.exe is missing" "$work/err" || fail "missing programs give no clear message: $(cat "$work/err")"
[ ! -e "$work/none/zk.7z" ] || fail "an archive was left without the programs"
if bash "$script" "$work/bad" "$bin" --filler-mb lots 2>/dev/null; then
  fail "a malformed --filler-mb was accepted"
fi

echo "payload check: $problems problem(s)"
[ "$problems" -eq 0 ]
