#!/usr/bin/env bash
# The wizard at a display scale: a Wine prefix of its own with LogPixels at DPI (the other tests
# keep theirs at 96) and a screen large enough for the 200 % window. Wine 8 makes every process
# per-monitor aware and reports the DPI through GetDpiForWindow; it neither stretches a window nor
# sends WM_DPICHANGED (window_tests sends that message itself). The window must be 700x420 times
# the scale, show the art drawn for the scale (compared with the @150/@200 images, at control
# edges too), keep the bold "安装路径" label whole, and install in one click at the scaled spots.
# usage: display-scale.sh SOURCE_DIR BIN_DIR DPI
set -uo pipefail
source_dir=$1 bin_dir=$2 dpi=$3
scale=$(( dpi * 100 / 96 ))
export ZK_WINE_DPI=$dpi ZK_WIZARD_SCALE=$scale
export ZK_WINEPREFIX=$source_dir/build/wine-prefix-dpi$dpi

if [ -z "${ZK_SCALED_DISPLAY:-}" ]; then
  ZK_SCALED_DISPLAY=1 ZK_TEST_SCREEN=1920x1200 exec bash "$source_dir/scripts/with-test-display.sh" bash "$0" "$@"
fi

. "$source_dir/tests/installer/e2e/e2e-common.sh"
art=$skin_art

s() { wizard_scaled "$1"; }
scaled_art() { if [ "$scale" -eq 100 ]; then echo "$art/$1"; else echo "$art/${1%.png}@$scale.png"; fi; }

# art_differs SHOT ART CONTROL_X CONTROL_Y X Y W H: how many pixels of the part X,Y WxH of the
# control at CONTROL_X,CONTROL_Y (all in 100 % units) differ from the same part of the scale's art.
art_differs() {
  local geometry_art geometry_shot
  geometry_art="$(s "$7")x$(s "$8")+$(s "$5")+$(s "$6")"
  geometry_shot="$(s "$7")x$(s "$8")+$(( $(s "$3") + $(s "$5") ))+$(( $(s "$4") + $(s "$6") ))"
  convert "$1" -crop "$geometry_shot" +repage "$work/shot-part.png" \
    && convert "$2" -background black -alpha remove -crop "$geometry_art" +repage "$work/art-part.png" \
    || { echo 999999; return; }
  compare -metric AE -fuzz 8% "$work/shot-part.png" "$work/art-part.png" null: 2>&1 | awk '{print int($1)}'
}

# bright_pixels SHOT X Y W H: pixels of a 100 % region brighter than 200 in every channel.
bright_pixels() {
  convert "$1" -crop "$(s "$4")x$(s "$5")+$(s "$2")+$(s "$3")" +repage -depth 8 txt:- \
    | awk -F'[(),]' 'NR > 1 && $3 >= 200 && $4 >= 200 && $5 >= 200 {n++} END {print n + 0}'
}

e2e_stage
e2e_clean
wizard_start "$stage/setup.exe" || fail "no wizard window at $dpi DPI"
wizard_geometry
[ "$WW" -eq "$(s 700)" ] && [ "$WH" -eq "$(s 420)" ] || fail "window is ${WW}x${WH} at $dpi DPI"

shot page0
page0=$shots/page0.png
# The page background behind the logo, and the install button's face and its top edge, are the
# scale's own drawing (a stretched 100 % picture blurs every edge and glyph).
[ "$(art_differs "$page0" "$(scaled_art table_bg_install_01.png)" 0 0 300 60 100 90)" -le "$(s 20)" ] \
  || fail "the welcome page's background is not the ${scale} % art"
[ "$(art_differs "$page0" "$(scaled_art btn_install.png)" 246 264 30 6 148 32)" -le "$(s 20)" ] \
  || fail "the install button is not the ${scale} % art"
button_top="$(pixel "$page0" "$(s 350)" "$(( $(s 264) + 2 ))")"
near "$button_top" "$(pixel "$(scaled_art btn_install.png)" "$(s 104)" 2)" 24 \
  || fail "the install button's top edge is $button_top"
! near "$(pixel "$page0" "$(s 350)" "$(( $(s 264) - 2 ))")" "$button_top" 24 \
  || fail "the install button reaches above its scaled top"

wizard_click "${WIZARD_CUSTOM[@]}"
sleep 1
shot page1
page1=$shots/page1.png
# Every glyph of the bold label 安装路径 (50,84 73x29): the right half of the fourth, 径, is there
# (a synthesised bold, wider, pushed it out of the label and left 安装路 ending at x 106).
[ "$(bright_pixels "$page1" 107 86 14 25)" -ge "$(( $(s 20) * scale / 100 ))" ] \
  || fail "the label 安装路径 is cut: its last glyph is missing"
# The modify button, left of its text 修改.
[ "$(art_differs "$page1" "$(scaled_art btn_modify.png)" 587 82 2 4 10 24)" -le "$(s 4)" ] \
  || fail "the modify button is not the ${scale} % art"

wizard_click "${WIZARD_BACK[@]}"
sleep 1
e2e_install_and_start "${WIZARD_INSTALL[@]}"
same_as_payload "$expected" "$bin" || fail "installed files differ from the payload"
registered || fail "no uninstall entry"
echo "PASS: the wizard at $dpi DPI (${scale} %)"
