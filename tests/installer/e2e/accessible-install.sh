#!/usr/bin/env bash
# The wizard as a screen reader reads it, from another process through oleacc: every page lists
# its elements in tab order with the names, roles and states the skin gives them (the probe
# prints each page's table), and default actions alone drive setup. First without zk.7z, so
# the progress page stays with its failure text and is closed by its close button's action;
# then a whole installation: custom, back, install, and the experience button, which finishes
# setup and starts the product, while the probe follows the wizard's events.
# usage: accessible-install.sh SOURCE_DIR BIN_DIR PROBE_EXE
set -uo pipefail
source_dir=$1 bin_dir=$2 probe_exe=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

probe() {
  wine "$probe_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

e2e_clean
e2e_stage
mv "$stage/zk.7z" "$work/zk.7z"
wizard_start "$stage/setup.exe" || fail "no wizard window"
probe page welcome '立即安装' || fail "the welcome page"
probe page progress '关闭' || fail "the progress page"
wizard_wait_exit 30; code=$?
[ "$code" -eq 0 ] || fail "the progress page's close: setup exit code $code"
assert_nothing_registered

e2e_clean
mv "$work/zk.7z" "$stage/zk.7z"
wizard_start "$stage/setup.exe" || fail "no wizard window"
probe page welcome '自定义安装>' >/dev/null || fail "the welcome page"
probe page options '返回' || fail "the options page"
probe events 120000 >"$work/events.txt" &
events_pid=$!
sleep 1  # the hook is set
probe page welcome '立即安装' >/dev/null || fail "the welcome page, again"
wait_for_file "$link" 120 || fail "no desktop link after the unpack"
probe page done '立即体验' || fail "the completion page"
wizard_wait_exit 60; code=$?
[ "$code" -eq 0 ] || fail "setup exit code $code"
wait_for_file "$marker" 30 || fail "VIDer.exe did not start"
wait "$events_pid"
# The events a screen reader follows, seen from this process; names are read when an event
# arrives, so the progress text may already be the last one.
for event in 'value | 安装进度' 'name | 正在安装，请不要关闭 ' 'show | 正在安装' 'hide | 欢迎' 'show | 安装完成' \
             'hide | 正在安装' 'focus | 最小化' 'focus | 立即体验'; do
  grep -q "^event $event" "$work/events.txt" || fail "no event $event: $(cat "$work/events.txt")"
done
registered || fail "no uninstall entry"
[ "$(ls "$programs"/*.lnk 2>/dev/null | wc -l)" -eq 2 ] || fail "the Start-menu folder does not hold two links"
echo "PASS: setup driven by default actions alone"
