#!/usr/bin/env bash
# The whole test run: bootstrap, configure and build both presets, run every test
# (natively and under Wine on a private X display), print one summary line.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
start=$(date +%s)

bash scripts/bootstrap.sh || exit 1

jobs=$(nproc)
for preset in native mingw; do
  cmake --preset "$preset" >/dev/null || { echo "configure of $preset failed"; exit 1; }
  cmake --build --preset "$preset" -j "$jobs" || { echo "build of $preset failed"; exit 1; }
done

xvfb_pid=
cleanup() {
  bash scripts/wine-prefix.sh stop
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$display_file"
}
display_file=$(mktemp)
trap cleanup EXIT

# Windows that tests open go to a private display, never the user's.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$display_file")

bash scripts/wine-prefix.sh start || { echo "Wine prefix could not be started"; exit 1; }

status=0
for preset in native mingw; do
  rm -rf "build/$preset/test-results" && mkdir -p "build/$preset/test-results"
  ctest --preset "$preset" --output-junit "$root/build/$preset/test-results/ctest.junit" || status=1
done

/usr/bin/python3 scripts/summarize-tests.py build/native/test-results build/mingw/test-results || status=1
echo "test command took $(( $(date +%s) - start )) s"
exit $status
