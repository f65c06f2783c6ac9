#!/usr/bin/env bash
# The release that make-release.sh makes of a product folder: setup.exe carries zk.7z's digest.
#   matching   it installs (throttled, with a large file so the unpack lasts), logs nothing (no
#              unverified line), and while it unpacks another program cannot write to zk.7z;
#   one byte   the same release with one byte of zk.7z changed: page 2 shows the check failure
#              (not the damaged-archive text an unstamped setup.exe shows for the same file), the
#              log names the expected and the found digest, nothing is unpacked or registered.
# usage: verified-payload.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

reason=150x21+130+367  # installproglab after "安装失败："

product=$work/product
mkdir -p "$product/data" "$expected"
cp "$bin_dir/VIDer.exe" "$bin_dir/ZKUnInstall.exe" "$product/"
cp -R "$source_dir/demo/VIDer/payload/." "$product/"
head -c 40M /dev/urandom >"$product/data/filler.bin" || fail "filler"
bash "$source_dir/scripts/make-release.sh" "$product" "$stage" "$bin_dir" >/dev/null || fail "make-release.sh"
for file in setup.exe 7zCore.dll zk.7z; do [ -f "$stage/$file" ] || fail "the release lacks $file"; done
cmp -s "$bin_dir/setup.exe" "$stage/setup.exe" && fail "the release's setup.exe is not stamped"
7zz x -y -o"$expected" "$stage/zk.7z" >/dev/null || fail "7zz x"
digest=$(sha256sum "$stage/zk.7z" | cut -d' ' -f1)
release=$work/release.7z
cp "$stage/zk.7z" "$release"

# Matching.
e2e_clean
wizard_start "$stage/setup.exe" || fail "matching: no wizard window"
throttle_start
wizard_click "${WIZARD_INSTALL[@]}"
wait_for_file "$bin/data/filler.bin.zk7z~part" 60 || { throttle_stop; fail "matching: the unpack did not start"; }
# A Windows program's write; host writes bypass Wine's share modes.
wine cmd /c "echo planted>>$(winepath -w "$stage/zk.7z")" </dev/null >/dev/null 2>&1
throttle_stop
wait_for_file "$link" 120 || fail "matching: no desktop link after the unpack: $(cat "$log" 2>/dev/null)"
sleep 2
wizard_click "${WIZARD_CLOSE[@]}"
wizard_wait_exit 30; code=$?
[ "$code" -eq 0 ] || fail "matching: setup exit code $code"
cmp -s "$release" "$stage/zk.7z" || fail "matching: zk.7z was written to during the unpack"
same_as_payload "$expected" "$bin" || fail "matching: installed files differ from the payload"
registered || fail "matching: no uninstall entry"
assert_only_notes_logged --stamped

# One byte changed.
/usr/bin/python3 -c '
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(0, 2)
    f.seek(f.tell() // 2)
    byte = f.read(1)[0]
    f.seek(-1, 1)
    f.write(bytes([byte ^ 0x01]))
' "$stage/zk.7z"
found=$(sha256sum "$stage/zk.7z" | cut -d' ' -f1)
e2e_install_fails changed
grep -a -q "expected sha256 $digest" "$log" || fail "changed: the log does not name the expected digest: $(cat "$log")"
grep -a -q "found sha256 $found" "$log" || fail "changed: the log does not name the found digest: $(cat "$log")"
grep -a -q "$unverified_line" "$log" && fail "changed: a stamped setup.exe called its payload unverified"
[ -z "$(ls -A "$bin" 2>/dev/null)" ] || fail "changed: files were unpacked: $(ls -A "$bin")"

# The unstamped build with the same file, for the text of a damaged archive.
cp "$bin_dir/setup.exe" "$stage/setup.exe"
e2e_install_fails unstamped
other_region "$shots/unstamped.png" "$shots/changed.png" $reason || fail "the check failure reads like a damaged archive"
echo "PASS: verified payload"
