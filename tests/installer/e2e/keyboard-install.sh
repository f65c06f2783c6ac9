#!/usr/bin/env bash
# The wizard by keyboard alone (real key events through xdotool): Escape and Alt+F4 end setup on
# the welcome page as its close button does; a page opens with the focus on its first content
# control, Tab walks the welcome page in reading order with the title-bar glyphs last and wraps,
# and the focused control shows a ring; Enter right after start installs, the completion page
# opens on its experience button, and Space there finishes setup and starts the product. The
# probe reads the focus as a screen reader does.
# usage: keyboard-install.sh SOURCE_DIR BIN_DIR PROBE_EXE
set -uo pipefail
source_dir=$1 bin_dir=$2 probe_exe=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

probe() {
  wine "$probe_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# wizard_key KEY...: real key presses to the wizard window.
wizard_key() {
  wizard_find || return 1
  xdotool windowfocus --sync "$wizard_window" 2>/dev/null
  local key
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
}

install_button=208x44+246+264  # installBtn

e2e_clean
e2e_stage

for close_key in Escape alt+F4; do
  wizard_start "$stage/setup.exe" || fail "no wizard window"
  probe page welcome >/dev/null || fail "the welcome page"
  wizard_key "$close_key"
  wizard_wait_exit 30; code=$?
  [ "$code" -eq 0 ] || fail "$close_key: setup exit code $code"
  assert_nothing_registered
done

wizard_start "$stage/setup.exe" || fail "no wizard window"
probe page welcome >/dev/null || fail "the welcome page"
[ "$(probe focus)" = "立即安装" ] || fail "the welcome page does not start on the install button"
wizard_key Tab
shot unfocused
order="$(probe focus);"
for _ in 1 2 3 4 5; do
  wizard_key Tab
  order="$order$(probe focus);"
done
echo "tab order: $order"
[ "$order" = "同意用户协议;同意《用户协议》;自定义安装>;最小化;关闭;立即安装;" ] || fail "tab order $order"
shot ring
other_region "$shots/unfocused.png" "$shots/ring.png" $install_button || fail "the focused install button shows no ring"
wizard_key Escape
wizard_wait_exit 30; code=$?
[ "$code" -eq 0 ] || fail "Escape after the tab walk: setup exit code $code"
assert_nothing_registered

# Enter at once installs: the focus starts on the primary action, not on the minimise glyph.
wizard_start "$stage/setup.exe" || fail "no wizard window"
probe page welcome >/dev/null || fail "the welcome page"
wizard_key Return
wait_for_file "$link" 120 || fail "Enter on the new welcome page did not install"
probe page done >/dev/null || fail "the completion page"
[ "$(probe focus)" = "立即体验" ] || fail "the completion page does not start on the experience button"
wizard_key Tab Tab Tab
[ "$(probe focus)" = "立即体验" ] || fail "Tab does not come back to the experience button"
wizard_key space
wizard_wait_exit 60; code=$?
[ "$code" -eq 0 ] || fail "setup exit code $code"
wait_for_file "$marker" 30 || fail "VIDer.exe did not start"
registered || fail "no uninstall entry"
echo "PASS: installation by keyboard alone"
