# Sourced by the wizard's end-to-end tests after setting source_dir and bin_dir: the session
# helpers, the places setup writes to, a staging folder, a clean prefix, pixel helpers.
export ZK_WINE_LC_ALL=zh_CN.UTF-8  # our users' Windows: code page 936
. "$source_dir/scripts/wizard-session.sh"
export ZK_DEMO_EXIT_AFTER=2
skin_art=$source_dir/assets/skin/Install_and_uninstall

work=$(mktemp -d)
shots=$work/shots
mkdir -p "$shots"
trap 'e2e_stop_wizard; e2e_stop_products; e2e_remove_small_drive; rm -rf "$work"' EXIT

# A wizard left running would be found by the next test: end the process this test started.
e2e_stop_wizard() {
  if [ -n "${wizard_pid:-}" ] && kill -0 "$wizard_pid" 2>/dev/null; then
    kill -9 "$wizard_pid" 2>/dev/null
    wait "$wizard_pid" 2>/dev/null
  fi
}

# A product started through the desktop shell does not get this test's ZK_DEMO_EXIT_AFTER and
# would run on: it would hold the next test's folder.
e2e_stop_products() { stop_prefix_products; }

# e2e_small_drive [SIZE]: a tmpfs of SIZE (default 64k, too small for any payload) as the
# prefix's drive Y:; the test's end removes it.
small_drive=$work/small-drive
e2e_small_drive() {
  mkdir -p "$small_drive" && mount -t tmpfs -o "size=${1:-64k}" zk-small "$small_drive" \
    || fail "cannot mount a small drive"
  ln -sfn "$small_drive" "$WINEPREFIX/dosdevices/y:"
}
e2e_remove_small_drive() {
  rm -f "$WINEPREFIX/dosdevices/y:"
  if mountpoint -q "$small_drive" 2>/dev/null; then umount "$small_drive"; fi
  return 0
}

# Keeps the screenshots of a failed run when ZK_E2E_KEEP names a folder.
fail() {
  echo "FAIL: $*"
  if [ -n "${ZK_E2E_KEEP:-}" ]; then mkdir -p "$ZK_E2E_KEEP" && cp "$shots"/*.png "$ZK_E2E_KEEP"/ 2>/dev/null; fi
  exit 1
}

user=$(id -un)
default_dir=$(unix_path 'C:\Program Files (x86)\zk')
bin=$default_dir/zkbin
link=$(unix_path 'C:\users\'"$user"'\Desktop\Tessaro.lnk')
programs=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tessaro')
marker=$(unix_path 'C:\users\'"$user"'\AppData\Local\zk\data\VIDer.started')
log=$(unix_path 'C:\users\'"$user"'\AppData\Local\zk\data\zklog\ll.log')
key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}'

# e2e_clean [UNIX_DIR...]: removes what any earlier run left, plus the given folders.
e2e_clean() {
  e2e_stop_products
  rm -rf "$default_dir" "$@"
  e2e_clean_registration
}

# e2e_clean_registration: what an installation registers and links, the product's marker and the
# log; the installed files stay.
e2e_clean_registration() {
  rm -rf "$link" "$programs" "$marker" "$log"
  wine reg delete "$key" /f >/dev/null 2>&1
  return 0
}

# e2e_stage [make-payload options]: $stage holds setup.exe, 7zCore.dll and zk.7z; $expected the
# payload as 7zz unpacks it.
stage=$work/dl
expected=$work/expected
e2e_stage() {
  mkdir -p "$stage" "$expected"
  cp "$bin_dir/setup.exe" "$bin_dir/7zCore.dll" "$stage/"
  bash "$source_dir/scripts/make-payload.sh" "$stage" "$bin_dir" "$@" >/dev/null || fail "payload"
  7zz x -y -o"$expected" "$stage/zk.7z" >/dev/null || fail "7zz x"
}

# e2e_install_and_start X Y: the install button at X,Y, the unpack up to the desktop link, the
# experience button; setup must end with exit code 0 and the product start.
e2e_install_and_start() {
  wizard_click "$1" "$2"
  wait_for_file "$link" 120 || fail "no desktop link after the unpack"
  sleep 2
  wizard_click "${WIZARD_COMPLETE[@]}"
  wizard_wait_exit 60; local code=$?
  [ "$code" -eq 0 ] || fail "setup exit code $code"
  wait_for_file "$marker" 30 || fail "VIDer.exe did not start"
}

registered() { wine reg query "$key" >/dev/null 2>&1; }

# A setup.exe without the release stamp logs this once per installation, and nothing else when
# all goes well.
unverified_line='payload unverified'

# assert_only_notes_logged [--stamped] [--also TEXT]: the log holds only the notes of a good run:
# the unverified line, once, of an unstamped setup.exe (none with --stamped), how the product was
# started (every Wine process is elevated, so setup asks the desktop shell and says so), and lines
# holding TEXT.
assert_only_notes_logged() {
  local unverified=1 also='^$'
  while [ $# -gt 0 ]; do
    case "$1" in
      --stamped) unverified=0; shift ;;
      --also) also=$2; shift 2 ;;
      *) fail "assert_only_notes_logged: $1" ;;
    esac
  done
  local count
  count=$(LC_ALL=C grep -a -c "$unverified_line" "$log" 2>/dev/null)
  [ "${count:-0}" -eq "$unverified" ] || fail "the unverified line was logged ${count:-0} times: $(cat "$log" 2>/dev/null)"
  [ -e "$log" ] || return 0
  local other
  other=$(LC_ALL=C grep -a -v -e "$unverified_line" -e "$also" \
               -e ' StartInstalledProduct started .* as the signed-in user through the desktop shell' \
               -e ' StartInstalledProduct the desktop shell could not start ' "$log")
  [ -z "$other" ] || fail "something was logged: $other"
}

# e2e_install_fails NAME: installs from $stage, waits for the failure text and shoots it as NAME,
# closes setup (exit code 0); nothing may be registered or linked.
e2e_install_fails() {
  e2e_clean
  wizard_start "$stage/setup.exe" || fail "$1: no wizard window"
  wizard_click "${WIZARD_INSTALL[@]}"
  local _
  for _ in $(seq 100); do grep -a -q 'Unpack error' "$log" 2>/dev/null && break; sleep 0.2; done
  grep -a -q 'Unpack error: ..*' "$log" 2>/dev/null || fail "$1: no failure was logged: $(cat "$log" 2>/dev/null)"
  # The line is logged just before the label changes; under load Wine has shown the new label
  # more than a second later.
  sleep 3
  shot "$1"
  wizard_click "${WIZARD_CLOSE[@]}"
  wizard_wait_exit 30; local code=$?
  [ "$code" -eq 0 ] || fail "$1: setup exit code $code after the failure"
  assert_nothing_registered
}

# assert_nothing_registered: no uninstall entry, no desktop or Start-menu links.
assert_nothing_registered() {
  ! registered || fail "an uninstall entry was written"
  [ ! -e "$link" ] || fail "a desktop link was made"
  [ ! -e "$programs" ] || fail "a Start-menu folder was made"
}

# Moves the pointer to a spot of the window where no control is, so no hover image shows.
wizard_park_pointer() {
  wizard_geometry
  xdotool mousemove $((WX + $(wizard_scaled 350))) $((WY + $(wizard_scaled 120)))
  sleep 0.4
}

# shot NAME: a screenshot of the wizard as $shots/NAME.png (the pointer parked first).
shot() {
  wizard_park_pointer
  wizard_shot "$shots/$1.png"
}

# differing_pixels A B GEOMETRY: how many pixels of the region differ by more than a little.
differing_pixels() {
  convert "$1" -crop "$3" +repage "$work/crop-a.png" && convert "$2" -crop "$3" +repage "$work/crop-b.png" \
    || { echo 999999; return; }
  compare -metric AE -fuzz 8% "$work/crop-a.png" "$work/crop-b.png" null: 2>&1 | awk '{print int($1)}'
}

# same_region A B GEOMETRY / other_region A B GEOMETRY (more than a speck differs: a glyph does).
same_region() { [ "$(differing_pixels "$@")" -eq 0 ]; }
other_region() { [ "$(differing_pixels "$@")" -gt 20 ]; }

# pixel FILE X Y: "R G B" of one pixel.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)] %[fx:int(255*p{$2,$3}.g+.5)] %[fx:int(255*p{$2,$3}.b+.5)]" info:
}

# near "R G B" "R G B" TOLERANCE: every channel within the tolerance.
near() {
  local a=($1) b=($2) i
  for i in 0 1 2; do
    local d=$(( a[i] - b[i] ))
    [ "${d#-}" -le "$3" ] || return 1
  done
}

# choose_folder PREFIX [CHILD]: answers the modify button's folder dialog with the folder of C:\
# whose name starts with PREFIX (ASCII letters, no other name of the tree before it does), or with
# that folder's only subfolder when CHILD (its name, for the reader) is given. Wine's dialog takes its answer from the tree alone and ignores text typed into its edit
# box (Windows would take a typed path), so the tree is walked by keyboard: Home, type-ahead to
# TOP under the expanded (C:), expand, down to the child, Return.
choose_folder() {
  local dialog= _
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name '^(选择文件夹|Browse for Folder)$' 2>/dev/null | head -1)
    [ -n "$dialog" ] && break
    sleep 0.2
  done
  [ -n "$dialog" ] || return 1
  sleep 0.8
  xdotool key Home
  sleep 0.3
  xdotool type --delay 80 "$1"
  sleep 1.2  # the tree's type-ahead ends after a pause
  if [ $# -ge 2 ]; then
    xdotool key KP_Add
    sleep 0.5
    xdotool key Down
    sleep 0.3
  fi
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^(选择文件夹|Browse for Folder)$' >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

# flip_middle FILE: inverts 16 bytes at the middle of FILE.
flip_middle() {
  /usr/bin/python3 -c '
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(0, 2)
    middle = f.tell() // 2
    f.seek(middle)
    data = bytes(b ^ 0xFF for b in f.read(16))
    f.seek(middle)
    f.write(data)
' "$1"
}

# same_as_payload EXPECTED FOLDER: FOLDER holds the payload EXPECTED and the record of the
# installation, installed-files.txt, which lists every file and folder of it.
same_as_payload() {
  diff -r -x installed-files.txt "$1" "$2" >/dev/null || return 1
  [ -f "$2/installed-files.txt" ] || return 1
  [ "$(tail -n +2 "$2/installed-files.txt" | tr -d '\r' | tr '\\' / | sed 's:/$::' | sort)" \
    = "$(cd "$1" && find . -mindepth 1 | sed 's:^\./::' | sort)" ]
}

# folder_state FOLDER: every name below FOLDER with its kind; files also with mode, size, time and
# digest. A folder's time is left out (names made and removed in it move it), and so is its mode:
# every setup run sets the program folder's access list again, which Wine shows as the mode.
folder_state() {
  (cd "$1" && find . -mindepth 1 \( -type f -printf '%p f %m %s %T@ ' -exec md5sum {} \; \) -o -printf '%p %y\n' | sort)
}

# slow_payload MIB: appends MIB MiB of random bytes, stored, to $stage/zk.7z as filler.bin (also
# kept as $work/filler.bin). Quick to make; unpacking it takes long under throttle_start.
slow_payload() {
  head -c "$1M" /dev/urandom >"$work/filler.bin" || fail "filler"
  (cd "$work" && 7zz a -bso0 -bsp0 -mx0 "$stage/zk.7z" filler.bin) || fail "7zz a filler"
}

# packed_payload MIB: the same with MIB MiB of text packed by LZMA2, whose decoding is work of the
# process: under throttle_start it lasts long enough to be caught half-way even by a close,
# where a stored file is written almost without work of the process.
packed_payload() {
  head -c $(($1 * 786432)) /dev/urandom | base64 -w 0 >"$work/filler.bin" || fail "filler"
  (cd "$work" && 7zz a -bso0 -bsp0 -mx1 "$stage/zk.7z" filler.bin) || fail "7zz a filler"
}

# throttle_start / throttle_stop: setup.exe runs a twentieth of the time (stopped and continued by
# signal), as on a slow machine, so a unpack lasts long enough to watch and to interrupt.
throttle_pid=
throttle_start() {
  (
    while kill -STOP "$wizard_pid" 2>/dev/null; do
      sleep 0.095
      kill -CONT "$wizard_pid" 2>/dev/null || break
      sleep 0.005
    done
  ) &
  throttle_pid=$!
}
throttle_stop() {
  [ -n "$throttle_pid" ] || return 0
  kill "$throttle_pid" 2>/dev/null
  wait "$throttle_pid" 2>/dev/null
  throttle_pid=
  kill -CONT "$wizard_pid" 2>/dev/null
  return 0
}

# bar_fill FILE: how many columns of the progress bar (installPrg) show its fill colour.
bar_fill() {
  convert "$1" -crop 594x1+55+349 +repage -depth 8 txt:- \
    | awk -F'[(),]' 'NR > 1 && $4 >= 110 && $5 >= 200 {n++} END {print n + 0}'
}

# quiet_uninstall_command KEY: the QuietUninstallString of the entry, as the registry holds it.
quiet_uninstall_command() {
  wine reg query "$1" /v QuietUninstallString 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 2>/dev/null \
    | sed -n 's/^ *QuietUninstallString *REG_SZ *//p'
}

# wait_for_uninstaller_copy SECONDS: until no copy of ZKUnInstall.exe runs from the temporary
# folder (the program started from the folder ends first, once the copy reports its result).
wait_for_uninstaller_copy() {
  local _
  for _ in $(seq $(($1 * 5))); do
    pgrep -f 'Temp.ZKUnInstall-[0-9a-f]+-[0-9a-f]+\.exe' >/dev/null || return 0
    sleep 0.2
  done
  return 1
}
