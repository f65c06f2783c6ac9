#!/usr/bin/env bash
# The close button, on three occasions:
#   welcome    page 0: setup ends with exit code 0, installs, registers and links nothing (the
#              default folder, which setup makes at start, stays empty)
#   done       page 3: the finishing steps still run (uninstall entry, Start-menu links), the
#              product is not started
#   unpacking  page 2, during a slow unpack: the process ends with exit code 0 once the unpack
#              has returned (complete), and nothing is registered or linked
#   damaged    the same with a payload whose large file fails its checksum after the close: the
#              failure reported while the window is being destroyed ends nothing badly and is
#              logged
# usage: closing.sh SOURCE_DIR BIN_DIR welcome|done|unpacking|damaged
set -uo pipefail
source_dir=$1 bin_dir=$2 occasion=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

e2e_clean
e2e_stage

# close_and_wait [SECONDS]: the close button; setup's exit code must be 0.
close_and_wait() {
  wizard_click "${WIZARD_CLOSE[@]}"
  wizard_wait_exit "${1:-30}"; local code=$?
  [ "$code" -eq 0 ] || fail "setup exit code $code"
}

case "$occasion" in
  welcome)
    wizard_start "$stage/setup.exe" || fail "no wizard window"
    close_and_wait
    [ -d "$default_dir" ] || fail "the default folder was not made"
    [ -z "$(ls -A "$default_dir")" ] || fail "the default folder is not empty: $(ls -A "$default_dir")"
    assert_nothing_registered
    ;;
  done)
    wizard_start "$stage/setup.exe" || fail "no wizard window"
    wizard_click "${WIZARD_INSTALL[@]}"
    wait_for_file "$link" 120 || fail "no desktop link after the unpack"
    sleep 2
    close_and_wait
    diff -r "$expected" "$bin" >/dev/null || fail "installed files differ from the payload"
    wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
    [ "$(ls "$programs"/*.lnk 2>/dev/null | wc -l)" -eq 2 ] || fail "the Start-menu folder does not hold two links"
    sleep 1
    [ ! -e "$marker" ] || fail "closing started the product"
    ;;
  unpacking|damaged)
    # Large enough that the close is handled long before the unpack ends, even throttled.
    slow_payload 150
    if [ "$occasion" = damaged ]; then
      /usr/bin/python3 -c '
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(0, 2)
    f.seek(f.tell() // 2)
    f.write(b"\xff" * 16)
' "$stage/zk.7z"
    fi
    wizard_start "$stage/setup.exe" || fail "no wizard window"
    throttle_start
    wizard_click "${WIZARD_INSTALL[@]}"
    # The unpacker writes each file under a temporary name and renames it when complete.
    part=$bin/filler.bin.zk7z~part
    wait_for_file "$part" 40 || fail "the unpack did not start"
    wizard_click "${WIZARD_CLOSE[@]}"
    # Windows hides the window as soon as it is destroyed; under Wine it stays on screen, no
    # longer painted, until the frame's destructor has waited for the unpack (the hide seems to
    # reach the X server only when the thread returns to its message loop). So only the end is
    # checked: the process outlives the unpack under way, then ends cleanly.
    [ -e "$part" ] || fail "the large file was unpacked before the close took effect"
    wizard_wait_exit 90; code=$?
    throttle_stop
    [ "$code" -eq 0 ] || fail "setup exit code $code"
    if [ "$occasion" = unpacking ]; then
      cmp -s "$work/filler.bin" "$bin/filler.bin" || fail "the unpack under way was not finished"
      [ -z "$(find "$bin" -name '*~part')" ] || fail "a partial file was left"
    fi
    for _ in $(seq 25); do wizard_find || break; sleep 0.2; done
    wizard_find && fail "the window outlived setup"
    assert_nothing_registered
    ;;
  *)
    fail "unknown occasion $occasion"
    ;;
esac
# An unpack that started logged that this developer build's payload is unverified; the damaged
# one also its failure, reported after the close.
if [ "$occasion" = welcome ]; then
  [ ! -e "$log" ] || fail "something was logged: $(cat "$log")"
elif [ "$occasion" = damaged ]; then
  LC_ALL=C grep -a -q 'CZKInstallThread::DoTask Unpack error: .*filler\.bin' "$log" 2>/dev/null \
    || fail "the failure after the close was not logged: $(cat "$log" 2>/dev/null)"
  assert_only_notes_logged --also 'CZKInstallThread::DoTask Unpack error: '
else
  assert_only_notes_logged
fi
echo "PASS: close ($occasion)"
