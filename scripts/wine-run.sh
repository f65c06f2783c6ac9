#!/usr/bin/env bash
# Runs one Windows program of the build under the project's Wine prefix (CTest's emulator).
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
