#!/usr/bin/env bash
# The uninstaller's silent form, run as administrators' tools run it: the QuietUninstallString of
# the entry, word for word; and each refusal with its exit code:
#   0  a per-user installation into a new folder with a space and Chinese characters: the folder,
#      the user's links and the HKEY_CURRENT_USER entry are gone; the copy is marked for deletion
#   2  the product runs from the folder (silent: a log line; with a window: a message box):
#      nothing is removed
#   6  no installed-files.txt: links and entry are removed, every file of the folder stays
#   3  run again from the folder it left: no entry names it any more (said in a relative /LOG= file)
# usage: uninstall-silent.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

user_target_win='C:\Zk 卸载 测试'
user_target=$(unix_path "$user_target_win")
user_programs=$(unix_path 'C:\users\'"$user"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Tessaro')
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}'
session='HKLM\System\CurrentControlSet\Control\Session Manager'
cleanup_uninstall() {
  e2e_stop_wizard
  [ -n "${product_pid:-}" ] && kill -9 "$product_pid" 2>/dev/null
  wine reg delete "$user_key" /f >/dev/null 2>&1
  rm -rf "$user_target" "$user_programs"
}
trap 'cleanup_uninstall; e2e_stop_products; rm -rf "$work"' EXIT
e2e_clean "$user_target" "$user_programs"
wine reg delete "$user_key" /f >/dev/null 2>&1
e2e_stage

# quiet_uninstall KEY: runs the entry's QuietUninstallString; sets $code once the copy has ended.
quiet_uninstall() {
  local command program
  command=$(quiet_uninstall_command "$1")
  program=$(sed -n 's/^"\(.*\)" \/S$/\1/p' <<<"$command")
  [ -n "$program" ] || fail "QuietUninstallString is not the quoted uninstaller and /S: '$command'"
  wine "$program" /S </dev/null >/dev/null 2>&1; code=$?
  wait_for_uninstaller_copy 30 || fail "the uninstaller's copy did not end"
}

wine "$stage/setup.exe" /S /CURRENTUSER "/D=$user_target_win" </dev/null >/dev/null 2>&1 || fail "per-user install"
same_as_payload "$expected" "$user_target/zkbin" || fail "setup did not leave the payload and its record in $user_target/zkbin"
[ -e "$link" ] && [ -d "$user_programs" ] || fail "the per-user install made no links"
quiet_uninstall "$user_key"
[ "$code" -eq 0 ] || fail "per-user silent uninstall: exit code $code: $(cat "$log")"
[ ! -e "$user_target" ] || fail "per-user silent uninstall left: $(find "$user_target")"
[ ! -e "$link" ] && [ ! -e "$user_programs" ] || fail "per-user silent uninstall left a link"
! wine reg query "$user_key" >/dev/null 2>&1 || fail "per-user silent uninstall left the entry"
wine reg query "$session" /v PendingFileRenameOperations 2>/dev/null | grep -q 'Temp\\ZKUnInstall-' \
  || fail "the copy is not marked for deletion at the restart"

wine "$stage/setup.exe" /S </dev/null >/dev/null 2>&1 || fail "per-machine install"
same_as_payload "$expected" "$bin" || fail "setup did not leave the payload and its record in $bin"
ZK_DEMO_EXIT_AFTER=60 wine "$bin/VIDer.exe" </dev/null >/dev/null 2>&1 &
product_pid=$!
wait_for_file "$marker" 30 || fail "the installed product did not start"
quiet_uninstall "$key"
[ "$code" -eq 2 ] || fail "running product, silent: exit code $code"
LC_ALL=C grep -a -q 'VIDer.exe is running and must be closed first' "$log" || fail "running product: not logged"
# The product's window has the same title: the box is the new one.
shown=$(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null | sort)
wine "$bin/ZKUnInstall.exe" </dev/null >/dev/null 2>&1 &
wizard_pid=$!
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null | sort | comm -13 <(echo "$shown") - | head -1)
  [ -n "$box" ] && break
  sleep 0.2
done
[ -n "$box" ] || fail "running product, with a window: no message box"
sleep 0.5
xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key --window "$box" Return 2>/dev/null
wizard_wait_exit 20; code=$?
[ "$code" -eq 2 ] || fail "running product, with a window: exit code $code"
wait_for_uninstaller_copy 30 || fail "the uninstaller's copy did not end"
diff -r -x installed-files.txt "$expected" "$bin" >/dev/null || fail "running product: a file was removed"
registered && [ -e "$link" ] || fail "running product: the entry or the link was removed"
kill -9 "$product_pid" 2>/dev/null; wait "$product_pid" 2>/dev/null; product_pid=
sleep 1

rm -f "$bin/installed-files.txt"
quiet_uninstall "$key"
[ "$code" -eq 6 ] || fail "no record: exit code $code"
diff -r "$expected" "$bin" >/dev/null || fail "no record: the folder does not hold every file any more"
! registered && [ ! -e "$link" ] && [ ! -e "$programs" ] || fail "no record: the entry or a link is left"
LC_ALL=C grep -a -q 'no record of installed files in .*zkbin: the folder is kept' "$log" || fail "no record: not logged"

# A relative /LOG= file is the starting folder's, also for the copy that works elsewhere.
(cd "$work" && wine "$bin/ZKUnInstall.exe" /S /LOG=uninstall.log </dev/null >/dev/null 2>&1); code=$?
wait_for_uninstaller_copy 30
[ "$code" -eq 3 ] || fail "no entry: exit code $code"
LC_ALL=C grep -a -q 'no uninstall entry names .*zkbin' "$work/uninstall.log" || fail "no entry: not in the /LOG= file"
echo "PASS: silent uninstall and its refusals"
