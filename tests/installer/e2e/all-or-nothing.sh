#!/usr/bin/env bash
# All or nothing. Version A is installed silently; version B (a changed file, a new folder and,
# last, a large file) then fails part-way:
#   damaged  B is damaged in its last file: setup fails, and afterwards the installation folder
#            holds A's files byte for byte with A's modes and times, A's record, nothing else
#            (no temporary or moved-aside file, no journal beside the program folder)
#   full     the same on a drive that fills up during B's unpack
#   crash    setup of B is killed (SIGKILL) mid-unpack, leaving its journal; the next setup run,
#            the wizard, has healed the folder to A's before its window shows, and logged it
# usage: all-or-nothing.sh SOURCE_DIR BIN_DIR damaged|full|crash
set -uo pipefail
source_dir=$1 bin_dir=$2 occasion=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

e2e_clean
e2e_stage
folder_win='C:\Program Files (x86)\zk'
if [ "$occasion" = full ]; then
  # Room for both versions when setup checks, filled up while B unpacks.
  e2e_small_drive 120m
  folder_win='Y:\zk'
fi
folder=$(unix_path "$folder_win")
wine "$stage/setup.exe" /S "/D=$folder_win" </dev/null >/dev/null 2>&1 || fail "version A did not install"
same_as_payload "$expected" "$folder/zkbin" || fail "version A is not installed"
before=$(folder_state "$folder")

payload_b=$work/b
cp -R "$expected" "$payload_b"
echo "version B" >"$payload_b/readme.txt"
mkdir "$payload_b/new-in-b" && echo "new in B" >"$payload_b/new-in-b/file.txt"
rm -f "$stage/zk.7z" "$log"
(cd "$payload_b" && 7zz a -bso0 -bsp0 "$stage/zk.7z" .) || fail "7zz a version B"
if [ "$occasion" = damaged ]; then slow_payload 40; else packed_payload 20; fi

# start_b: setup of B in the background, throttled, until it writes the large file.
start_b() {
  wine "$stage/setup.exe" /S "/D=$folder_win" </dev/null >/dev/null 2>&1 &
  wizard_pid=$!
  throttle_start
  wait_for_file "$folder/zkbin/filler.bin.zk7z~part" 60 || fail "B's unpack did not reach its large file"
}

case "$occasion" in
  damaged)
    flip_middle "$stage/zk.7z"
    wine "$stage/setup.exe" /S "/D=$folder_win" </dev/null >/dev/null 2>&1 && fail "the damaged B installed"
    LC_ALL=C grep -a -q 'Unpack error: .*filler\.bin' "$log" || fail "the failure was not logged: $(cat "$log")"
    ;;
  full)
    start_b
    head -c 200M /dev/zero >"$small_drive/hog" 2>/dev/null
    wizard_wait_exit 120 && fail "B installed on a full drive"
    throttle_stop
    rm -f "$small_drive/hog"
    # Whichever file met the full drive: folders decode side by side, so it need not be the last.
    LC_ALL=C grep -a -q 'Unpack error: .*Y:.zk.zkbin.' "$log" || fail "the failure was not logged: $(cat "$log")"
    ;;
  crash)
    start_b
    kill -9 "$wizard_pid"
    throttle_stop
    wizard_wait_exit 10
    [ -e "$folder/zkbin.zk7z~journal" ] || fail "the killed setup left no journal"
    [ "$(folder_state "$folder")" != "$before" ] || fail "the killed setup had changed nothing"
    wizard_start "$stage/setup.exe" || fail "no wizard window"
    LC_ALL=C grep -a -q 'HealInterruptedUnpack undid the interrupted unpack into C:.Program Files (x86).zk.zkbin' "$log" \
      || fail "the heal was not logged: $(cat "$log")"
    # Checked while the wizard shows its first page: the heal came before anything else.
    [ "$(folder_state "$folder")" = "$before" ] \
      || fail "the wizard shows, the folder is not A's: $(diff <(echo "$before") <(folder_state "$folder"))"
    wizard_click "${WIZARD_CLOSE[@]}"
    wizard_wait_exit 30 || fail "the wizard did not end with 0"
    ;;
  *)
    fail "unknown occasion $occasion"
    ;;
esac
[ "$(folder_state "$folder")" = "$before" ] \
  || fail "the folder is not A's: $(diff <(echo "$before") <(folder_state "$folder"))"
echo "PASS: all or nothing ($occasion)"
