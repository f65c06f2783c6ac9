#!/usr/bin/env bash
# The main job: bootstrap, build the Windows programs and run them under the project's Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)"
bash scripts/with-test-display.sh scripts/wine-run.sh build/mingw/bin/setup-info.exe
