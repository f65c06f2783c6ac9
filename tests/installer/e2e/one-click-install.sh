#!/usr/bin/env bash
# One-click installation as a user does it, under Wine on the harness display: the wizard opens
# centred, the install button unpacks and moves on to the completion page, the experience button
# starts the product and ends setup with exit code 0. Then the files, links and uninstall entry.
# usage: one-click-install.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
export ZK_WINE_LC_ALL=zh_CN.UTF-8  # our users' Windows: code page 936
. "$source_dir/scripts/wizard-session.sh"
export ZK_DEMO_EXIT_AFTER=2

fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
# A product started through the desktop shell does not get ZK_DEMO_EXIT_AFTER: end it.
stop_products() { stop_prefix_products; }
trap 'stop_products; rm -rf "$work"' EXIT
stop_products

stage=$work/dl
mkdir -p "$stage" "$work/expected"
cp "$bin_dir/setup.exe" "$bin_dir/7zCore.dll" "$stage/"
bash "$source_dir/scripts/make-payload.sh" "$stage" "$bin_dir" >/dev/null || fail "payload"
7zz x -y -o"$work/expected" "$stage/zk.7z" >/dev/null || fail "7zz x"

bin=$(unix_path 'C:\Program Files (x86)\zk\zkbin')
link=$(unix_path 'C:\users\'"$(id -un)"'\Desktop\Tessaro.lnk')
programs=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tessaro')
marker=$(unix_path 'C:\users\'"$(id -un)"'\AppData\Local\zk\data\VIDer.started')
log=$(unix_path 'C:\users\'"$(id -un)"'\AppData\Local\zk\data\zklog\ll.log')
key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}'
rm -rf "$(dirname "$bin")" "$link" "$programs" "$marker" "$log"
wine reg delete "$key" /f >/dev/null 2>&1

wizard_start "$stage/setup.exe" || fail "no wizard window"
wizard_geometry
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
sw=${screen%x*} sh=${screen#*x}
[ "$WW" -eq 700 ] && [ "$WH" -eq 420 ] || fail "window is ${WW}x${WH}, not 700x420"
[ "$WX" -eq $(( sw / 2 - 350 )) ] && [ "$WY" -eq $(( sh / 2 - 210 )) ] || fail "window at $WX,$WY is not centred"

wizard_click "${WIZARD_INSTALL[@]}"
wait_for_file "$link" 120 || fail "no desktop link after the unpack"
sleep 2
wizard_click "${WIZARD_COMPLETE[@]}"
wizard_wait_exit 60; code=$?
[ "$code" -eq 0 ] || fail "setup exit code $code"
wait_for_file "$marker" 30 || fail "VIDer.exe did not start"

diff -r -x installed-files.txt "$work/expected" "$bin" >/dev/null || fail "installed files differ from the payload"
[ -f "$programs/Tessaro.lnk" ] || fail "no Start-menu application link"
[ "$(ls "$programs"/*.lnk | wc -l)" -eq 2 ] || fail "the Start-menu folder does not hold two links"
wine reg query "$key" /v DisplayName >/dev/null 2>&1 || fail "no uninstall entry"
# An unstamped setup.exe logs that its payload is unverified; every Wine process is elevated, so
# setup starts the product through the desktop shell and says so. Nothing else.
LC_ALL=C grep -a -q 'payload unverified' "$log" 2>/dev/null || fail "the unverified payload was not logged"
LC_ALL=C grep -a -q 'StartInstalledProduct started .*VIDer.exe as the signed-in user through the desktop shell' "$log" \
  || fail "the log does not say how the product started: $(cat "$log" 2>/dev/null)"
[ "$(grep -a -c . "$log")" -eq 2 ] || fail "something else was logged: $(cat "$log")"
echo "PASS: one-click installation"
