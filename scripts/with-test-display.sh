#!/usr/bin/env bash
# with-test-display.sh COMMAND...
# Runs COMMAND with a private Xvfb display and the project's warmed Wine prefix, then stops both.
# ZK_TEST_SCREEN sets the screen's size (default 1280x1024).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

display_file=$(mktemp)
xvfb_pid=
cleanup() {
  bash "$here/wine-prefix.sh" stop
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${ZK_TEST_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$display_file")

bash "$here/wine-prefix.sh" start || { echo "Wine prefix could not be started" >&2; exit 1; }
"$@"
