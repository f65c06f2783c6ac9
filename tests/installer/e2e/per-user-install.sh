#!/usr/bin/env bash
# A per-user installation, as a standard user's setup makes it: setup.exe /CURRENTUSER (under Wine
# every process is an administrator, so the switch stands in for a setup without elevation) puts
# the product into the user's own Programs folder, registers it under HKEY_CURRENT_USER and links
# it in the user's own Start menu; nothing goes to Program Files, HKEY_LOCAL_MACHINE or the
# all-users Start menu. setup-info only prints where an installation would go.
# usage: per-user-install.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

user_dir=$(unix_path 'C:\users\'"$user"'\AppData\Local\Programs\zk')
user_programs=$(unix_path 'C:\users\'"$user"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Tessaro')
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}'
e2e_clean "$user_dir" "$user_programs"
wine reg delete "$user_key" /f >/dev/null 2>&1

info=$(wine "$bin_dir/setup-info.exe" </dev/null 2>/dev/null | tr -d '\r')
grep -q 'installation folder  *C:\\Program Files (x86)\\zk$' <<<"$info" || fail "setup-info: $info"
grep -q 'per-user installation folder  *C:\\users\\.*\\AppData\\Local\\Programs\\zk$' <<<"$info" || fail "setup-info: $info"
[ ! -e "$default_dir" ] || fail "setup-info made the installation folder"

e2e_stage
wizard_start "$stage/setup.exe" /CURRENTUSER || fail "no wizard window"
e2e_install_and_start "${WIZARD_INSTALL[@]}"

same_as_payload "$expected" "$user_dir/zkbin" || fail "the user's folder does not hold the payload"
started=$(tr -d '\r\n' <"$marker")
case "$started" in
  'C:\users\'*'\AppData\Local\Programs\zk\zkbin\VIDer.exe') ;;
  *) fail "the product started from '$started'" ;;
esac
location=$(wine reg query "$user_key" /v InstallLocation 2>/dev/null | tr -d '\r')
case "$location" in
  *'\AppData\Local\Programs\zk\zkbin'*) ;;
  *) fail "no per-user uninstall entry naming the user's folder: $location" ;;
esac
wine reg query "$user_key" /v UninstallString 2>/dev/null | grep -q 'Programs\\zk\\zkbin\\ZKUnInstall.exe' \
  || fail "the uninstall command does not point into the user's folder"
! registered || fail "a machine-wide uninstall entry was written"
[ "$(ls "$user_programs"/*.lnk 2>/dev/null | wc -l)" -eq 2 ] || fail "the user's Start menu does not hold two links"
[ ! -e "$programs" ] || fail "the all-users Start menu got a folder"
[ ! -e "$bin" ] || fail "Program Files got files"
assert_only_notes_logged
e2e_clean "$user_dir" "$user_programs"
wine reg delete "$user_key" /f >/dev/null 2>&1
echo "PASS: per-user installation"
