# Sourced: drives setup.exe through Wine on $DISPLAY with real pointer events (xdotool).
# Coordinates are window-relative centres of the skin's controls at 100 %; with ZK_WIZARD_SCALE
# (the display scale in percent, as the prefix's DPI makes it) the window and every point grow alike.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

WIZARD_SCALE=${ZK_WIZARD_SCALE:-100}
WIZARD_WIDTH=$(( 700 * WIZARD_SCALE / 100 ))
WIZARD_HEIGHT=$(( 420 * WIZARD_SCALE / 100 ))

WIZARD_INSTALL=(350 286)       # installBtn, page 0
WIZARD_CUSTOM=(629 386)        # customBtn, page 0
WIZARD_INSTALL1=(350 220)      # installBtn1, page 1
WIZARD_BACK=(72 22)            # gobackbtn, page 1
WIZARD_MODIFY=(617 98)         # modifyBtn, page 1
WIZARD_AGREEMENT=(37 387)      # protocalOpt, page 0
WIZARD_COMPLETE=(350 224)      # completeBtn, page 3
WIZARD_CLOSE=(667 23)          # closebtn*, every page
UNINSTALL_CONFIRM=(238 318)    # uninstallBtn, the uninstaller's confirm page
UNINSTALL_CANCEL=(462 318)     # cancelBtn, the uninstaller's confirm page
UNINSTALL_FINISH=(350 254)     # finishBtn, the uninstaller's done page

wizard_window=
wizard_pid=

# wizard_find: sets wizard_window to the wizard's window if one is shown.
wizard_find() {
  # The demo product's window has the same title: the wizard is the visible one of its width.
  local candidate width
  for candidate in $(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null); do
    width=$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null | sed -n 's/^WIDTH=//p')
    if [ "$width" = "$WIZARD_WIDTH" ]; then
      wizard_window=$candidate
      return 0
    fi
  done
  return 1
}

# wizard_start SETUP_EXE [ARGUMENTS...]: starts it and waits for its window.
wizard_start() {
  wine "$@" </dev/null >/dev/null 2>&1 &
  wizard_pid=$!
  local _
  for _ in $(seq 150); do
    if wizard_find; then
      # Becoming layered can give the window a new X window: look again once it has settled.
      sleep 0.5
      wizard_find
      return 0
    fi
    sleep 0.2
  done
  echo "wizard window did not appear" >&2
  return 1
}

# wizard_geometry: sets WX WY WW WH of the wizard window.
wizard_geometry() {
  local shell
  shell=$(xdotool getwindowgeometry --shell "$wizard_window" 2>/dev/null) \
    || { wizard_find && shell=$(xdotool getwindowgeometry --shell "$wizard_window" 2>/dev/null); } \
    || { echo "the wizard window is gone" >&2; return 1; }
  eval "$(sed 's/^/W/' <<<"$shell")"
  WX=$WX WY=$WY WW=$WWIDTH WH=$WHEIGHT
}

# wizard_scaled N: N at the wizard's display scale.
wizard_scaled() { echo $(( $1 * WIZARD_SCALE / 100 )); }

# wizard_click X Y: a real left click at a window-relative point, given at 100 %.
wizard_click() {
  wizard_geometry || return 1
  xdotool mousemove $((WX + $(wizard_scaled "$1"))) $((WY + $(wizard_scaled "$2"))) sleep 0.2 click 1
  sleep 0.3
}

# wizard_shot FILE: the wizard window's pixels as a PNG.
wizard_shot() {
  wizard_geometry || return 1
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"
}

# wizard_wait_exit [SECONDS]: waits for setup.exe; its exit code is the function's.
wizard_wait_exit() {
  local limit=${1:-60} _
  for _ in $(seq $((limit * 5))); do
    kill -0 "$wizard_pid" 2>/dev/null || { wait "$wizard_pid"; return $?; }
    sleep 0.2
  done
  echo "setup.exe did not exit within $limit s" >&2
  return 124
}

# wait_for_file PATH [SECONDS]
wait_for_file() {
  local limit=${2:-60} _
  for _ in $(seq $((limit * 5))); do
    [ -e "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# stop_prefix_products: ends the demo products (VIDer.exe) of this prefix, known by the WINEPREFIX
# every Wine process of it inherits, and only those: tests of other prefixes keep theirs running.
stop_prefix_products() {
  local pid
  for pid in $(pgrep -f '[\\/]VIDer\.exe'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill -9 "$pid" 2>/dev/null
  done
  return 0
}

# unix_path WINDOWS_PATH
unix_path() { winepath -u "$1" 2>/dev/null; }
