#!/usr/bin/env bash
# The whole test run: bootstrap, configure and build every preset, run every test (natively,
# the threaded extraction again under ThreadSanitizer, and under Wine on a private X display),
# print one summary line.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
start=$(date +%s)

bash scripts/bootstrap.sh || exit 1

jobs=$(nproc)
for preset in native native-threads mingw; do
  cmake --preset "$preset" >/dev/null || { echo "configure of $preset failed"; exit 1; }
  cmake --build --preset "$preset" -j "$jobs" || { echo "build of $preset failed"; exit 1; }
done

run_all() {
  local status=0 preset
  for preset in native native-threads mingw; do
    rm -rf "build/$preset/test-results" && mkdir -p "build/$preset/test-results"
    ctest --preset "$preset" --output-junit "$root/build/$preset/test-results/ctest.junit" || status=1
  done
  return $status
}
export -f run_all
export root

status=0
bash scripts/with-test-display.sh bash -c run_all || status=1
/usr/bin/python3 scripts/summarize-tests.py build/native/test-results build/native-threads/test-results build/mingw/test-results || status=1
echo "test command took $(( $(date +%s) - start )) s"
exit $status
