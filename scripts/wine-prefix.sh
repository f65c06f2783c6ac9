#!/usr/bin/env bash
# wine-prefix.sh start|stop
#   start: creates the 64-bit test prefix once (fonts mapped, display at $ZK_WINE_DPI, 96 when
#          unset), then starts its persistent
#          wineserver and Wine's background services with every standard stream detached,
#          so nothing Wine leaves running holds the caller's pipes open.
#   stop:  stops that wineserver.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

DPI=${ZK_WINE_DPI:-96}
# What a prefix is made with: one made with something else is made again.
RECIPE="fonts=noto-sans-cjk-sc-with-bold dpi=$DPI"

set_registry() {
  # The skin names these faces; map them to fonts Debian installs. The display's DPI where asked.
  local reg dpi_lines=()
  if [ "$DPI" != 96 ]; then
    dpi_lines=('[HKEY_CURRENT_USER\Control Panel\Desktop]' "$(printf '"LogPixels"=dword:%08x' "$DPI")" ''
      '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]'
      "$(printf '"LogPixels"=dword:%08x' "$DPI")" '')
  fi
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' "${dpi_lines[@]}" \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"微软雅黑"="Noto Sans CJK SC"' \
    '"Microsoft YaHei"="Noto Sans CJK SC"' \
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
    if [ "$(cat "$WINEPREFIX/.zk-ready" 2>/dev/null)" != "$RECIPE" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i </dev/null >/dev/null 2>&1
      wineserver -w
      set_registry
      install_fonts
      wineserver -w
      echo "$RECIPE" > "$WINEPREFIX/.zk-ready"
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
