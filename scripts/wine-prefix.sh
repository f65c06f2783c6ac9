#!/usr/bin/env bash
# wine-prefix.sh start|stop
#   start: creates the 64-bit test prefix once (fonts mapped), then starts its persistent
#          wineserver and Wine's background services with every standard stream detached,
#          so nothing Wine leaves running holds the caller's pipes open.
#   stop:  stops that wineserver.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

map_fonts() {
  # The skin names these faces; map them to fonts Debian installs.
  local reg
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"微软雅黑"="WenQuanYi Micro Hei"' \
    '"Microsoft YaHei"="WenQuanYi Micro Hei"' \
    '"Arial"="Liberation Sans"' \
    '"Arial Narrow"="Liberation Sans Narrow"' '' | iconv -f UTF-8 -t UTF-16 > "$reg"
  wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
  rm -f "$reg"
}

own_shell_folders() {
  # Wine links Desktop, Documents and the like to the host's home: every prefix would share one
  # desktop (and its links). Real folders keep each prefix's files to itself.
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$folder" ] || continue
    rm -f "$folder"
    mkdir "$folder"
  done
}

install_fonts() {
  # Wine's GDI+ finds families by their own names only: give it the Windows names the skin asks for.
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/make-test-fonts.py" "$WINEPREFIX/drive_c/windows/Fonts"
}

case "${1:-}" in
  start)
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [ ! -f "$WINEPREFIX/.zk-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i </dev/null >/dev/null 2>&1
      wineserver -w
      map_fonts
      install_fonts
      wineserver -w
      touch "$WINEPREFIX/.zk-ready"
    fi
    own_shell_folders
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # The COM service and the desktop process start on first use and live on: start them now,
    # detached, so no test's child inherits a pipe to them and its reader never sees the end.
    wine net start rpcss </dev/null >/dev/null 2>&1
    wine rundll32.exe user32.dll,MessageBeep </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
