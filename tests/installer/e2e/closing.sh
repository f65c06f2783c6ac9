#!/usr/bin/env bash
# The close button, on three occasions:
#   welcome    page 0: setup ends with exit code 0, installs, registers and links nothing (the
#              default folder, which setup makes at start, stays empty)
#   done       page 3: the finishing steps still run (uninstall entry, Start-menu links), the
#              product is not started
#   unpacking  page 2, during a slow unpack over an installed version: the unpack stops at its
#              next progress report and is undone, the folder holds exactly what it held before
#              (names, bytes, times), setup ends with exit code 0 soon after (the latency is
#              printed), nothing is registered or linked, and the cancel is logged
# usage: closing.sh SOURCE_DIR BIN_DIR welcome|done|unpacking
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
    same_as_payload "$expected" "$bin" || fail "installed files differ from the payload"
    wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
    [ "$(ls "$programs"/*.lnk 2>/dev/null | wc -l)" -eq 2 ] || fail "the Start-menu folder does not hold two links"
    sleep 1
    [ ! -e "$marker" ] || fail "closing started the product"
    ;;
  unpacking)
    # An installed version first; the one closed is larger by a file big enough that the close
    # is handled long before its unpack ends, even throttled.
    wine "$stage/setup.exe" /S </dev/null >/dev/null 2>&1 || fail "the first version did not install"
    e2e_clean_registration
    packed_payload 40
    before=$(folder_state "$default_dir")
    wizard_start "$stage/setup.exe" || fail "no wizard window"
    throttle_start
    wizard_click "${WIZARD_INSTALL[@]}"
    part=$bin/filler.bin.zk7z~part
    wait_for_file "$part" 40 || fail "the unpack did not start"
    start=$(date +%s%N)
    wizard_click "${WIZARD_CLOSE[@]}"
    # Still throttled: at full speed the rest of the unpack could end before the close is seen.
    # Unpacking the rest takes half a minute like this; the cancel ends setup in seconds
    # (bench-journal.sh measures the latency at full speed).
    wizard_wait_exit 40; code=$?
    throttle_stop
    echo "cancel latency with a twentieth of the CPU: $(( ($(date +%s%N) - start) / 1000000 )) ms"
    [ "$code" -eq 0 ] || fail "setup exit code $code"
    [ "$(folder_state "$default_dir")" = "$before" ] || fail "the folder changed: $(diff <(echo "$before") <(folder_state "$default_dir"))"
    for _ in $(seq 25); do wizard_find || break; sleep 0.2; done
    wizard_find && fail "the window outlived setup"
    assert_nothing_registered
    ;;
  *)
    fail "unknown occasion $occasion"
    ;;
esac
# An unpack that started logged that this developer build's payload is unverified; the cancel is
# logged as the end of the unpack.
if [ "$occasion" = welcome ]; then
  [ ! -e "$log" ] || fail "something was logged: $(cat "$log")"
elif [ "$occasion" = unpacking ]; then
  LC_ALL=C grep -a -q 'CZKInstallThread::DoTask Unpack error: the extraction was cancelled' "$log" 2>/dev/null \
    || fail "the cancel was not logged: $(cat "$log" 2>/dev/null)"
  assert_only_notes_logged --also 'Unpack error: the extraction was cancelled'
else
  assert_only_notes_logged
fi
echo "PASS: close ($occasion)"
