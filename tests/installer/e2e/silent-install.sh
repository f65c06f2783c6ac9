#!/usr/bin/env bash
# Unattended installation (setup.exe /S) and every silent exit code from a real cause:
#   0  installed into a /D= folder with spaces and Chinese characters: files, uninstall entry,
#      desktop and Start-menu links, /LOG= copy of the log; no window at any time; not started
#   1  an unknown switch (and without /S the usage box, then 1)
#   2  no payload beside setup.exe
#   3  the program folder cannot be made (a file stands in its place)
#   4  a drive too small for the payload (a small tmpfs mapped as drive Y:)
#   5  a wizard of the same scope already runs (a second wizard raises it and ends with 0)
#   6  the installed product runs from the folder: nothing is changed
# usage: silent-install.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

target_win='C:\Silent Zk\应用 安装'
target=$(unix_path "$target_win")
cleanup_silent() {
  e2e_stop_wizard
  [ -n "${product_pid:-}" ] && kill -9 "$product_pid" 2>/dev/null
  rm -rf "$(unix_path 'C:\Silent Zk')" "$(unix_path 'C:\zk-logs')"
}
trap 'cleanup_silent; e2e_stop_products; e2e_remove_small_drive; rm -rf "$work"' EXIT
copy=$(unix_path 'C:\zk-logs\silent setup.log')
e2e_clean "$(unix_path 'C:\Silent Zk')" "$copy"
e2e_stage

# silent [ARGUMENTS...]: setup.exe /S ARGUMENTS; sets $code; fails if any window maps meanwhile.
silent() {
  local before mapped pid
  before=$(xdotool search --onlyvisible --class 'setup.exe' 2>/dev/null | sort)
  wine "$stage/setup.exe" /S "$@" </dev/null >/dev/null 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    mapped=$(xdotool search --onlyvisible --class 'setup.exe' 2>/dev/null | sort | comm -13 <(echo "$before") -)
    [ -n "$mapped" ] && { kill -9 "$pid"; fail "silent setup $* mapped a window"; }
    sleep 0.05
  done
  wait "$pid"; code=$?
}

start=$(date +%s%N)
silent "/LOG=C:\\zk-logs\\silent setup.log" "/D=$target_win"
milliseconds=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$code" -eq 0 ] || fail "silent install: exit code $code: $(cat "$log" 2>/dev/null)"
same_as_payload "$expected" "$target/zkbin" || fail "silent install: the folder does not hold the payload"
location=$(wine reg query "$key" /v InstallLocation 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 2>/dev/null)
case "$location" in *"$target_win\\zkbin"*) ;; *) fail "silent install: the uninstall entry names '$location'" ;; esac
[ -e "$link" ] || fail "silent install: no desktop link"
[ "$(ls "$programs"/*.lnk 2>/dev/null | wc -l)" -eq 2 ] || fail "silent install: no two Start-menu links"
[ ! -e "$marker" ] || fail "silent install: the product was started"
[ -s "$copy" ] && cmp -s "$copy" "$log" || fail "silent install: the /LOG= file does not hold the log"
echo "silent install of the demo payload: $milliseconds ms"

silent /QUIET
[ "$code" -eq 1 ] || fail "unknown switch: exit code $code"
wine "$stage/setup.exe" /QUIET </dev/null >/dev/null 2>&1 &
wizard_pid=$!
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --pid "$wizard_pid" --name '^Tessaro$' 2>/dev/null | head -1)
  [ -n "$box" ] && break
  sleep 0.2
done
[ -n "$box" ] || fail "unknown switch without /S: no usage box"
sleep 0.5
xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key --window "$box" Return 2>/dev/null
wizard_wait_exit 20; code=$?
[ "$code" -eq 1 ] || fail "usage box: exit code $code"

mv "$stage/zk.7z" "$work/zk.7z"
silent "/D=C:\\Silent Zk\\missing"
[ "$code" -eq 2 ] || fail "missing payload: exit code $code"
mv "$work/zk.7z" "$stage/zk.7z"

mkdir -p "$(unix_path 'C:\Silent Zk\blocked')" && echo x >"$(unix_path 'C:\Silent Zk\blocked')/zkbin"
silent "/D=C:\\Silent Zk\\blocked"
[ "$code" -eq 3 ] || fail "unwritable folder: exit code $code"

e2e_small_drive
silent '/D=Y:\zk'
[ "$code" -eq 4 ] || fail "full drive: exit code $code"
# Only the installation folder, which setup makes when it starts, as the wizard does.
[ -z "$(find "$small_drive" -mindepth 1 -not -path "$small_drive/zk")" ] || fail "full drive: something was written: $(ls -AR "$small_drive")"

wizard_start "$stage/setup.exe" || fail "no wizard window"
silent "/D=C:\\Silent Zk\\second"
[ "$code" -eq 5 ] || fail "second setup: exit code $code"
first=$wizard_pid
wine "$stage/setup.exe" </dev/null >/dev/null 2>&1; code=$?
[ "$code" -eq 0 ] || fail "second wizard: exit code $code"
[ "$(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null | wc -l)" -eq 1 ] || fail "a second wizard window showed"
kill -0 "$first" 2>/dev/null || fail "the first wizard ended"
e2e_stop_wizard

ZK_DEMO_EXIT_AFTER=60 wine "$target/zkbin/VIDer.exe" </dev/null >/dev/null 2>&1 &
product_pid=$!
wait_for_file "$marker" 30 || fail "the installed product did not start"
echo changed >"$target/zkbin/readme.txt.before" && cp "$target/zkbin/readme.txt" "$work/readme.before"
silent "/D=$target_win"
[ "$code" -eq 6 ] || fail "running product: exit code $code"
cmp -s "$work/readme.before" "$target/zkbin/readme.txt" || fail "running product: a file was replaced"
LC_ALL=C grep -a -q 'VIDer.exe is running and must be closed first' "$log" || fail "running product: not logged"
echo "PASS: silent installation and its exit codes"
