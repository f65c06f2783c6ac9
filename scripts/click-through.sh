#!/usr/bin/env bash
# click-through.sh SETUP_EXE OUT_DIR: a whole custom installation with a screenshot per page.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wizard-session.sh"
setup=$1 out=$2
export ZK_DEMO_EXIT_AFTER=3

wizard_start "$setup"
wizard_shot "$out/page0-welcome.png"
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 0.5
wizard_shot "$out/page1-options.png"
wizard_click "${WIZARD_INSTALL1[@]}"
sleep 0.8
wizard_shot "$out/page2-progress.png"
link=$(unix_path 'C:\users\'"$(id -un)"'\Desktop\Tessaro.lnk')
wait_for_file "$link" 120 || echo "no desktop link appeared" >&2
sleep 2
wizard_shot "$out/page3-done.png"
wizard_click "${WIZARD_COMPLETE[@]}"
wizard_wait_exit 60
echo "screenshots in $out: $(cd "$out" && ls page*.png | tr '\n' ' ')"
