#!/usr/bin/env bash
# DLLs planted where a downloaded setup.exe meets them never run inside it. Impostors of msimg32,
# version, uxtheme, dwmapi and 7zCore lie in the current folder and in a folder on PATH, and of
# msimg32 and dwmapi beside setup.exe too (the Downloads folder; the real 7zCore.dll is there).
# Each leaves NAME.dll.loaded beside itself when loaded. Setup installs through and no marker
# appears. First a control: load-by-name.exe, which loads DLLs by bare name without restricting
# its search, shows that the impostors do load from wherever the search finds them.
# Wine differs from Windows beside setup.exe: Wine's user32 imports version.dll and loads
# uxtheme.dll while the process starts, before the first statement of wWinMain, so under the n,b
# override below those two would load from the application folder whatever setup does. Windows'
# user32 is a KnownDLL without that import; these two names are planted there only on PATH and
# in the current folder.
# usage: planted-dlls.sh SOURCE_DIR BIN_DIR PLANTED_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2 planted=$3
. "$source_dir/tests/installer/e2e/e2e-common.sh"

system_names="msimg32 version uxtheme dwmapi"
# Wine maps its builtin copy of a system DLL whatever lies on disk; n,b lets a native file found
# by the search serve first, as every file does on Windows.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msimg32,version,uxtheme,dwmapi=n,b"
current=$work/current
on_path=$work/on-path
export WINEPATH=$(winepath -w "$on_path")

plant() {  # plant FOLDER NAME...
  local folder=$1 name
  shift
  mkdir -p "$folder"
  for name in "$@"; do cp "$planted/$name.dll" "$folder/"; done
}

e2e_clean
e2e_stage
plant "$stage" msimg32 dwmapi
plant "$current" $system_names 7zCore
plant "$on_path" $system_names 7zCore

# Control, beside the impostors: the application folder comes first in the search, and none of
# these names is a KnownDLL, so Windows loads every one from there. So does Wine with the n,b
# override above; without it Wine maps its builtin msimg32, version and uxtheme instead.
plant "$work/control" $system_names 7zCore
cp "$planted/load-by-name.exe" "$work/control/"
(cd "$work/control" && wine load-by-name.exe $system_names 7zCore </dev/null >"$work/control.out" 2>&1)
for name in $system_names 7zCore; do
  [ -e "$work/control/$name.dll.loaded" ] \
    || fail "control: $name.dll beside the program did not load: $(tr -d '\r' <"$work/control.out")"
done
# Not found beside the program: then the current folder, then PATH (Windows searches System32
# first, so only the name System32 lacks, 7zCore, reaches them there).
mkdir -p "$work/control-bare" "$work/elsewhere"
cp "$planted/load-by-name.exe" "$work/control-bare/"
(cd "$current" && wine "$work/control-bare/load-by-name.exe" 7zCore </dev/null >/dev/null 2>&1)
[ -e "$current/7zCore.dll.loaded" ] || fail "control: 7zCore.dll in the current folder did not load"
(cd "$work/elsewhere" && wine "$work/control-bare/load-by-name.exe" 7zCore </dev/null >/dev/null 2>&1)
[ -e "$on_path/7zCore.dll.loaded" ] || fail "control: 7zCore.dll on PATH did not load"
find "$stage" "$current" "$on_path" -name '*.loaded' -delete

# Setup, started from the current folder with the plants in place, installs through.
cd "$current" || fail "cd"
wizard_start "$stage/setup.exe" || fail "no wizard window (a planted DLL may have broken the start)"
wizard_click "${WIZARD_INSTALL[@]}"
wait_for_file "$link" 120 || fail "no desktop link after the unpack: $(cat "$log" 2>/dev/null)"
sleep 2
wizard_click "${WIZARD_CLOSE[@]}"
wizard_wait_exit 30; code=$?
cd "$work" || fail "cd"
[ "$code" -eq 0 ] || fail "setup exit code $code"
same_as_payload "$expected" "$bin" || fail "installed files differ from the payload"
registered || fail "no uninstall entry"
left=$(find "$stage" "$current" "$on_path" -name '*.loaded' -printf '%p ')
[ -z "$left" ] || fail "a planted DLL ran inside setup: $left"
echo "PASS: planted DLLs"
