#!/usr/bin/env bash
# Upgrade over a running product, and the disk-space label:
#   version A is installed into a folder of its own and its VIDer.exe runs; setup of version B
#   (a changed and a new file) offers A's folder, logs "upgrade", and after the install button
#   waits with its message, replacing nothing, until the product ends; then it completes and the
#   files are B's.
#   The options page shows the space needed and free beneath the folder; for a drive too small
#   the label reads otherwise and the install button does not start.
# usage: upgrade.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

folder_win='C:\Upgrade Zk'
folder=$(unix_path "$folder_win")
space_label=520x21+131+166  # spaceLab
cleanup_upgrade() {
  e2e_stop_wizard
  [ -n "${product_pid:-}" ] && kill -9 "$product_pid" 2>/dev/null
  rm -rf "$folder"
}
trap 'cleanup_upgrade; e2e_stop_products; e2e_remove_small_drive; rm -rf "$work"' EXIT
e2e_clean "$folder"
e2e_stage

wine "$stage/setup.exe" /S "/D=$folder_win" </dev/null >/dev/null 2>&1 || fail "version A did not install"
wine reg add "$key" /v DisplayVersion /t REG_SZ /d 9.0.2.0 /f >/dev/null 2>&1
ZK_DEMO_EXIT_AFTER=600 wine "$folder/zkbin/VIDer.exe" </dev/null >/dev/null 2>&1 &
product_pid=$!
wait_for_file "$marker" 30 || fail "version A's product did not start"

# Version B: one file changed, one new.
payload_b=$work/b
cp -R "$expected" "$payload_b"
echo "version B" >"$payload_b/readme.txt"
echo "new in B" >"$payload_b/data/new-in-b.txt"
rm -f "$stage/zk.7z" "$log"
(cd "$payload_b" && 7zz a -bso0 -bsp0 "$stage/zk.7z" .) || fail "7zz a version B"

wizard_start "$stage/setup.exe" || fail "no wizard window"
LC_ALL=C grep -a -q "upgrade: 9.0.2.0 installed in C:.Upgrade Zk.zkbin" "$log" \
  || fail "the version change was not logged: $(cat "$log")"
wizard_click "${WIZARD_INSTALL[@]}"
sleep 3
shot waiting
cmp -s "$expected/readme.txt" "$folder/zkbin/readme.txt" || fail "a file was replaced while the product ran"
[ ! -e "$folder/zkbin/data/new-in-b.txt" ] || fail "a file was added while the product ran"
LC_ALL=C grep -a -q 'VIDer.exe is running and must be closed first' "$log" || fail "the wait was not logged"

kill -9 "$product_pid"; wait "$product_pid" 2>/dev/null; product_pid=
wait_for_file "$folder/zkbin/data/new-in-b.txt" 30 || fail "the install did not go on after the product ended"
shot unpacked
other_region "$shots/waiting.png" "$shots/unpacked.png" 232x21+52+367 || fail "the label did not change from the wait"
sleep 3
wizard_click "${WIZARD_CLOSE[@]}"
wizard_wait_exit 30 || fail "setup did not end"
same_as_payload "$payload_b" "$folder/zkbin" || fail "the files are not version B's"
wine reg query "$key" /v DisplayVersion 2>/dev/null | grep -q '9.0.3.0' || fail "the entry was not updated"

# The space label: a roomy drive, then one too small for the payload.
wizard_start "$stage/setup.exe" || fail "no wizard window"
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 0.5
shot roomy
other_region "$skin_art/table_bg_install_02.png" "$shots/roomy.png" $space_label || fail "the space label is empty"
wizard_click "${WIZARD_CLOSE[@]}"
wizard_wait_exit 30
e2e_small_drive
wizard_start "$stage/setup.exe" '/D=Y:\zk' || fail "no wizard window"
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 0.5
shot full
other_region "$shots/roomy.png" "$shots/full.png" $space_label || fail "the label does not tell a full drive"
wizard_click "${WIZARD_INSTALL1[@]}"
sleep 1
shot full-install
same_region "$shots/full.png" "$shots/full-install.png" 700x420+0+0 || fail "the install button started on a full drive"
[ ! -e "$small_drive/zk/zkbin" ] || fail "a program folder was made on the full drive"
if [ -n "${ZK_E2E_KEEP:-}" ]; then mkdir -p "$ZK_E2E_KEEP" && cp "$shots"/*.png "$ZK_E2E_KEEP"/; fi
echo "PASS: upgrade over a running product, disk space"
