#!/usr/bin/env bash
# A payload that cannot be installed: missing, damaged in its compressed part, damaged in a large
# stored file. Each time page 2 shows the failure text instead of the progress text, a log line
# names the reason, nothing is registered or linked, and the close button ends setup (exit 0).
# The label is compared between the runs rather than read: every failure text starts with the
# same five characters, the reasons differ, the progress text differs from all of them.
# usage: install-failure.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

label=232x21+52+367    # installproglab
opening=72x21+52+367   # its padding and the first five characters (14 pixels each)
reason=150x21+130+367  # the rest

# fails NAME: installs from $stage, waits for the failure's log line (an unstamped setup.exe logs
# its unverified payload first) and its text, checks the aftermath.
fails() {
  e2e_install_fails "$1"
  other_region "$shots/$1.png" "$skin_art/table_bg_install_03.png" $label || fail "$1: the label is empty"
  [ "$(ls -A "$bin" 2>/dev/null | grep -c '~part$')" -eq 0 ] || fail "$1: a partial file was left"
}

close_and_wait() {
  wizard_click "${WIZARD_CLOSE[@]}"
  wizard_wait_exit 30; local code=$?
  [ "$code" -eq 0 ] || fail "$1: setup exit code $code after the failure"
}

e2e_stage
real=$work/real.7z
cp "$stage/zk.7z" "$real"

# No zk.7z beside setup.exe.
rm "$stage/zk.7z"
fails missing
grep -a -q 'zk\.7z' "$log" || fail "missing: the log line does not name the archive: $(cat "$log")"

# Damaged in the middle of the compressed programs.
cp "$real" "$stage/zk.7z"
flip_middle "$stage/zk.7z"
fails compressed

# Damaged in the middle of a large stored file: the progress text shows first (throttled so that
# it is seen), the failure comes at the file's end, where its checksum does not match.
slow_payload 30
flip_middle "$stage/zk.7z"
e2e_clean
wizard_start "$stage/setup.exe" || fail "stored: no wizard window"
throttle_start
wizard_click "${WIZARD_INSTALL[@]}"
seen=0
for _ in $(seq 100); do
  sleep 0.1
  wizard_shot "$shots/progress.png"
  [ "$(bar_fill "$shots/progress.png")" -gt 10 ] && { seen=1; break; }
done
throttle_stop
[ "$seen" -eq 1 ] || fail "stored: the progress was not seen"
for _ in $(seq 100); do grep -a -q 'Unpack error' "$log" 2>/dev/null && break; sleep 0.2; done
sleep 1
shot stored
grep -a -q 'Unpack error: ..*' "$log" || fail "stored: the log line names no reason: $(cat "$log")"
grep -a -q 'filler\.bin' "$log" || fail "stored: the log line does not name the damaged file: $(cat "$log")"
close_and_wait stored
assert_nothing_registered

for name in missing compressed stored; do
  same_region "$shots/missing.png" "$shots/$name.png" $opening || fail "$name: the label does not open like the others"
  other_region "$shots/progress.png" "$shots/$name.png" $opening || fail "$name: the label still opens with the progress text"
done
# Two reasons: the archive is missing, or it is damaged (whatever the damage).
other_region "$shots/missing.png" "$shots/compressed.png" $reason || fail "missing and damaged read alike"
same_region "$shots/compressed.png" "$shots/stored.png" $reason || fail "the two damaged archives read differently"
echo "PASS: installation failures"
