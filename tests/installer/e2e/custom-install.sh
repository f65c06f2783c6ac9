#!/usr/bin/env bash
# Custom installation as a user does it: with the agreement unticked neither install button does
# anything; the options page takes a folder from the folder dialog (first an ASCII one, then one
# with Chinese characters), shows it, keeps it across back and forward, and the product lands in
# that folder's zkbin byte for byte, registered and started from there.
# usage: custom-install.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

plain=$(unix_path 'C:\Yd Plain')
custom=$(unix_path 'C:\Zk Custom')
chosen=$custom/应用
e2e_clean "$plain" "$custom"
mkdir -p "$plain" "$chosen"
e2e_stage

path_label=450x40+131+78   # pathLab
agreement=18x18+28+378     # protocalOpt
whole=700x420+0+0

wizard_start "$stage/setup.exe" || fail "no wizard window"
shot page0

# Unticked agreement: both buttons are dead, the page stays and nothing is unpacked.
wizard_click "${WIZARD_AGREEMENT[@]}"
shot unticked
other_region "$shots/page0.png" "$shots/unticked.png" $agreement || fail "the agreement box did not change"
wizard_click "${WIZARD_INSTALL[@]}"
sleep 1
shot unticked-install
same_region "$shots/unticked.png" "$shots/unticked-install.png" $whole || fail "install acted without the agreement"
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 1
shot unticked-custom
same_region "$shots/unticked.png" "$shots/unticked-custom.png" $whole || fail "custom acted without the agreement"
[ ! -e "$bin" ] || fail "a program folder was made without the agreement"
[ -z "$(ls -A "$default_dir")" ] || fail "files appeared without the agreement: $(ls -A "$default_dir")"

wizard_click "${WIZARD_AGREEMENT[@]}"
shot ticked
same_region "$shots/page0.png" "$shots/ticked.png" $whole || fail "ticking again did not restore page 0"

# Options page: each choice shows in the path label.
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 0.5
shot page1
other_region "$shots/page0.png" "$shots/page1.png" $whole || fail "custom did not open the options page"
wizard_click "${WIZARD_MODIFY[@]}"
choose_folder 'Yd' || fail "the folder dialog (ASCII folder) did not run its course"
shot plain
other_region "$shots/page1.png" "$shots/plain.png" $path_label || fail "the label did not show the ASCII folder"
wizard_click "${WIZARD_MODIFY[@]}"
choose_folder 'Zk' '应用' || fail "the folder dialog (Chinese folder) did not run its course"
shot chosen
other_region "$shots/plain.png" "$shots/chosen.png" $path_label || fail "the label did not show the Chinese folder"
same_region "$shots/plain.png" "$shots/chosen.png" 700x300+0+120 || fail "more than the label changed"

# Back and forward keep the choice.
wizard_click "${WIZARD_BACK[@]}"
sleep 0.5
shot back
same_region "$shots/page0.png" "$shots/back.png" $whole || fail "back did not return to page 0"
wizard_click "${WIZARD_CUSTOM[@]}"
sleep 0.5
shot again
same_region "$shots/chosen.png" "$shots/again.png" $whole || fail "the options page lost the chosen folder"

e2e_install_and_start "${WIZARD_INSTALL1[@]}"

same_as_payload "$expected" "$chosen/zkbin" || fail "the chosen folder does not hold the payload"
[ ! -e "$bin" ] || fail "the default folder got files too"
[ -z "$(ls -A "$plain")" ] || fail "the first choice got files"
# The marker holds the started program's path in UTF-8.
started=$(tr -d '\r\n' <"$marker")
[ "$started" = 'C:\Zk Custom\应用\zkbin\VIDer.exe' ] || fail "the product started from '$started'"
location=$(wine reg query "$key" /v InstallLocation 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 2>/dev/null)
case "$location" in
  *'C:\Zk Custom\应用\zkbin'*) ;;
  *) fail "the uninstall entry names another folder: $location" ;;
esac
[ -f "$programs/Tessaro.lnk" ] || fail "no Start-menu application link"
assert_only_notes_logged
rm -rf "$plain" "$custom"
echo "PASS: custom installation"
