#!/usr/bin/env bash
# Install and uninstall leave a fresh prefix as they found it. A new prefix is snapshotted (every
# file and folder under drive_c with the size of each file, and `wine reg export` of HKLM and
# HKCU), setup.exe /S installs, the test adds a file of its own to the program's data folder, and
# ZKUnInstall.exe is cancelled once (exit code 5, nothing removed), then driven through its
# confirm, progress and done pages by real clicks. Then the
# only differences allowed are:
#   - the test's own file, which stays with the folders holding it (the done page names them);
#   - the product's shared log (AppData\Local\zk\data\zklog\ll.log and its folders), which setup
#     and the uninstaller write by design;
#   - the uninstaller's copy in the temporary folder and its PendingFileRenameOperations entry,
#     which the restart after it (wineboot -r) deletes: checked, then the restart is made and the
#     snapshot taken again;
#   - what Wine changes by itself: the display classes it registers anew (wine_noise below).
# usage: uninstall-round-trip.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

export WINEPREFIX=$work/prefix
trap 'e2e_stop_wizard; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
wineboot -i </dev/null >/dev/null 2>&1 && wineserver -w || fail "cannot make a fresh prefix"
# As the shared test prefix: shell folders of the prefix's own, not links to the host's home.
for folder in "$WINEPREFIX"/drive_c/users/*/*; do
  [ -L "$folder" ] && rm -f "$folder" && mkdir "$folder"
done
drive_c=$WINEPREFIX/drive_c
bin=$(unix_path 'C:\Program Files (x86)\zk\zkbin')
session='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager'

# Keys Wine rewrites on its own at each start: the display adapter and monitor classes its
# desktop registers anew (default value dropped, a new driver date). Nothing else needs filtering.
wine_noise='^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\\{4D36E96[8E]-'

# snapshot NAME: $work/NAME.files and $work/NAME.reg.
snapshot() {
  (cd "$drive_c" && find . -path ./users/"$user"/AppData/Local/zk -prune -o -printf '%y %P %s\n' \
     | awk '$1 == "d" {print $1, $2; next} {print}' | sort) >"$work/$1.files"
  local hive
  : >"$work/$1.reg"
  for hive in HKLM HKCU; do
    wine reg export "$hive" "$work/$1-$hive.reg" /y </dev/null >/dev/null 2>&1 || fail "reg export $hive"
    # One line a value, its key in front: a difference names its key.
    iconv -f UTF-16 -t UTF-8 "$work/$1-$hive.reg" | tr -d '\r' | noise=$wine_noise awk '
      /^\[/ { key = $0; skip = (key ~ ENVIRON["noise"]); if (!skip) print key; next }
      !skip && NF { print key " " $0 }' >>"$work/$1.reg"
  done
}

wine cmd /c exit </dev/null >/dev/null 2>&1
wineserver -w
snapshot before

e2e_stage
wine "$stage/setup.exe" /S </dev/null >/dev/null 2>&1 || fail "silent install failed"
same_as_payload "$expected" "$bin" || fail "setup did not leave the payload and its record in $bin"
echo "the user's own notes" >"$bin/data/notes.txt"

# Cancelled on the confirm page: exit code 5, nothing removed.
wizard_start "$bin/ZKUnInstall.exe" || fail "no uninstaller window"
wizard_click "${UNINSTALL_CANCEL[@]}"
wizard_wait_exit 30; code=$?
[ "$code" -eq 5 ] || fail "cancelled uninstaller: exit code $code"
wait_for_uninstaller_copy 30 || fail "the cancelled uninstaller's copy did not end"
[ -e "$bin/VIDer.exe" ] && registered || fail "the cancelled uninstaller removed something"

wizard_start "$bin/ZKUnInstall.exe" || fail "no uninstaller window"
shot confirm
wizard_click "${UNINSTALL_CONFIRM[@]}"
for _ in $(seq 50); do [ ! -e "$bin/VIDer.exe" ] && break; sleep 0.2; done
sleep 2
shot done
wizard_click "${UNINSTALL_FINISH[@]}"
wizard_wait_exit 30; code=$?
[ "$code" -eq 0 ] || fail "uninstaller exit code $code"
other_region "$shots/confirm.png" "$shots/done.png" 700x60+0+130 || fail "the done page did not show"

# Only the test's file and the folders that hold it are left of the installation.
[ "$(cd "$bin/.." && find . | sort | tr '\n' ' ')" = ". ./zkbin ./zkbin/data ./zkbin/data/notes.txt " ] \
  || fail "left in the installation folder: $(cd "$bin/.." && find .)"
wait_for_uninstaller_copy 30 || fail "the uninstaller's copy did not end"
# Both runs left their copy, each marked for deletion at the restart.
copies=$(cd "$drive_c/users/$user/Temp" && ls ZKUnInstall-*.exe 2>/dev/null)
[ "$(wc -w <<<"$copies")" -eq 2 ] || fail "not two uninstaller copies in the temporary folder: $copies"
pending=$(wine reg query "$session" /v PendingFileRenameOperations 2>/dev/null)
for copy in $copies; do
  grep -qF "Temp\\$copy" <<<"$pending" || fail "$copy is not marked for deletion at the restart: $pending"
done

# The restart deletes the copies; then nothing but the test's file differs.
wineboot -r </dev/null >/dev/null 2>&1; wineserver -w
[ -z "$(ls "$drive_c/users/$user/Temp"/ZKUnInstall-*.exe 2>/dev/null)" ] || fail "the restart left an uninstaller copy"
rm -rf "$(unix_path 'C:\Program Files (x86)\zk')"
snapshot after
diff "$work/before.files" "$work/after.files" >"$work/files.diff" || fail "files differ: $(head -20 "$work/files.diff")"
diff "$work/before.reg" "$work/after.reg" >"$work/reg.diff" || fail "registry differs: $(head -40 "$work/reg.diff")"
echo "PASS: install and uninstall leave the prefix as it was"
