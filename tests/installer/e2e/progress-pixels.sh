#!/usr/bin/env bash
# What the user sees, pixel by pixel: the install button on page 0 is the skin's button image
# (and its hover image under the pointer) over the page background; during a slow unpack the
# progress bar's fill follows the bytes on disk, never ahead of them and never far behind, grows
# only, and is full before the completion page, whose button is the skin's image too.
# usage: progress-pixels.sh SOURCE_DIR BIN_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2
. "$source_dir/tests/installer/e2e/e2e-common.sh"

e2e_clean
e2e_stage
slow_payload 100
total=$(( $(du -sb "$expected" | cut -f1) + 100 * 1048576 ))

# expected_image BACKGROUND IMAGE X Y: the skin image drawn over the page background at X,Y.
expected_image() {
  local size
  size=$(identify -format '%wx%h' "$skin_art/$2")
  convert "$skin_art/$1" -crop "$size+$3+$4" +repage "$skin_art/$2" -compose over -composite "$work/want.png"
  convert "$work/want.png" -background black -extent 700x420-$3-$4 "$work/want-$2"
  echo "$size+$3+$4"
}

# looks_like SHOT BACKGROUND IMAGE X Y: at most 1% of the image's pixels differ noticeably.
looks_like() {
  local region n
  region=$(expected_image "$2" "$3" "$4" "$5")
  n=$(differing_pixels "$1" "$work/want-$3" "$region")
  local size=${region%%+*}
  [ "$n" -le $(( ${size%x*} * ${size#*x} / 100 )) ] || { echo "$n pixels differ from $3" >&2; return 1; }
}

wizard_start "$stage/setup.exe" || fail "no wizard window"
shot page0
button=208x44+246+264  # installBtn
looks_like "$shots/page0.png" table_bg_install_01.png btn_install.png 246 264 \
  || fail "the install button is not its image"
[ "$(pixel "$shots/page0.png" 350 286)" != "$(pixel "$skin_art/table_bg_install_01.png" 350 286)" ] \
  || fail "the install button shows the background"
wizard_geometry
xdotool mousemove $((WX + 300)) $((WY + 286))
sleep 0.6
wizard_shot "$shots/hover.png"
looks_like "$shots/hover.png" table_bg_install_01.png btn_install_hover.png 246 264 \
  || fail "the hovered install button is not its hover image"
other_region "$shots/page0.png" "$shots/hover.png" $button || fail "hovering changed nothing"

# The unpack, sampled: the process is stopped while the bytes on disk and the bar are read.
throttle_start
wizard_click "${WIZARD_INSTALL[@]}"
previous=0 two_before=0 three_before=0 last_fill=0 between=0
for sample in $(seq 60); do
  sleep 0.3
  throttle_stop
  kill -STOP "$wizard_pid"
  sleep 0.05
  written=$(du -sb "$bin" 2>/dev/null | cut -f1)
  written=$(( ${written:-0} * 594 / total ))   # in bar columns
  import -window root -crop 700x420+$WX+$WY +repage "$shots/progress.png"
  fill=$(bar_fill "$shots/progress.png")
  kill -CONT "$wizard_pid"
  [ -e "$link" ] && break
  echo "sample $sample: written $written, fill $fill of 594 columns"
  # The bar shows reported bytes, which trail the writes by up to 1 MiB (6 columns) and its
  # repaints; the slack covers the rounding of the fore image's corners. The window thread runs
  # in the same twentieth of the time as the writer, and on a loaded machine its first repaints
  # of the page have come more than two samples after the bytes: the bar must have caught up
  # with what was on disk three samples (about a second) before.
  [ "$fill" -le $(( written + 10 )) ] || fail "the bar ($fill) is ahead of the bytes on disk ($written)"
  [ "$fill" -ge $(( three_before - 10 )) ] || fail "the bar ($fill) trails the bytes on disk ($three_before)"
  [ "$fill" -ge "$last_fill" ] || fail "the bar shrank from $last_fill to $fill"
  [ "$fill" -gt 30 ] && [ "$fill" -lt 564 ] && between=$((between + 1))
  three_before=$two_before two_before=$previous previous=$written last_fill=$fill
  throttle_start
done
throttle_stop
[ "$between" -ge 2 ] || fail "only $between samples caught the bar part-way"
wait_for_file "$link" 60 || fail "no desktop link after the unpack"
# The completion page follows a second after 100%: the bar is full meanwhile.
full=0
for _ in $(seq 10); do
  import -window root -crop 700x420+$WX+$WY +repage "$shots/full.png"
  [ "$(bar_fill "$shots/full.png")" -ge 590 ] && { full=1; break; }
  sleep 0.1
done
[ "$full" -eq 1 ] || fail "the bar was not seen full at the end"
sleep 2
shot page3
looks_like "$shots/page3.png" table_bg_install_04.png btn_experience.png 246 202 \
  || fail "the completion button is not its image"

wizard_click "${WIZARD_COMPLETE[@]}"
wizard_wait_exit 60; code=$?
[ "$code" -eq 0 ] || fail "setup exit code $code"
cmp -s "$work/filler.bin" "$bin/filler.bin" || fail "the large file was not unpacked intact"
echo "PASS: progress and button pixels"
