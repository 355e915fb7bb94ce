#!/usr/bin/env bash
# Zooming the map in a real X window (Xvfb at 1024 x 768): New Game, a Water Condenser beside the
# landing module, then three wheel steps down over the view's centre (to 71 %, to 50 %, and held
# there): the view shows the land at 50 %, the landing module drawn smaller (a copy of it shrunk
# to the new scale is found around its place, which the unshrunk picture is not) and more ground
# in view (the minimap's frame about twice as wide). At 50 % a click on a free cell builds the condenser on the cell under
# the pointer. Two wheel steps up bring back the view of 100 % as it was. Screenshots go to
# OUTPUT_DIR.
# Usage: zoom_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="zoom end-to-end"
source "$(dirname "$0")/e2e_lib.sh"
start_game
xdotool mousemove 512 700
sleep 0.5
shot zoom_menu

# New Game, Water and Power, the Water Condenser, and one on the cell two steps down the y axis
# from the view's centre (as in game_e2e.sh).
strip="1024x92+0+0"
xdotool mousemove --sync 225 364 click 1
shot_until zoom_new_game differs zoom_menu zoom_new_game "$strip" || fail "New Game showed no game screen"
xdotool mousemove --sync 116 80 click 1
sleep 0.3
xdotool mousemove --sync 45 35 click 1
sleep 0.3
xdotool mousemove --sync 700 650
sleep 0.5
shot zoom_new_game
xdotool mousemove --sync 384 519 click 1
sleep 0.2
xdotool mousemove --sync 700 650
shot_until zoom_built differs zoom_new_game zoom_built "80x70+344+470" || fail "nothing was built"
sleep 0.3
shot zoom_built

# The width of the minimap's red frame around the part of the map in view.
minimap="95x86+413+3"
frame_width() {
  convert "$output/$1.png" -crop "$minimap" +repage -fill black +opaque "#ff0000" -trim \
    -format '%w' info:
}
width_before="$(frame_width zoom_built)"

# Three wheel steps down over the view's centre (the view's centre pixel, so that the view keeps
# its centre as nearly as whole cells allow).
view="1024x676+0+92"
xdotool mousemove --sync 512 433
for _ in 1 2 3; do
  xdotool click 5
  sleep 0.2
done
xdotool mousemove --sync 700 650
shot_until zoom_out differs zoom_built zoom_out "$view" || fail "the wheel did not zoom"
sleep 0.5
shot zoom_out
width_after="$(frame_width zoom_out)"
((width_after * 10 >= width_before * 17)) ||
  fail "the minimap's frame is $width_after pixels wide at 50 %, $width_before at 100 %"

# The landing module and the cells around it at 100 %, shrunk to the scale of 50 % (the map's
# pixels on this screen are 1024/1080 of the surface's at 50 % and 1024/1152 at 100 %), are
# found at 50 %, and much better than the picture as it was. The ground under the pointer stays
# under it unless the colony lies near the map's edge, where the view keeps inside the map: so the
# module is looked for in the whole view, first roughly at a quarter of the size, then closely
# around the place found.
convert "$output/zoom_built.png" -crop 160x120+432+360 +repage "$output/zoom_module.png"
convert "$output/zoom_module.png" -resize 53.33% "$output/zoom_module_small.png"
convert "$output/zoom_out.png" -crop "$view" +repage -resize 25% "$output/zoom_view_quarter.png"
convert "$output/zoom_module_small.png" -resize 25% "$output/zoom_module_quarter.png"
# "RMSE X Y": how well the picture $2 matches its best place in the picture $1, and where.
match() {
  { compare -metric RMSE -subimage-search "$output/$1.png" "$output/$2.png" null: 2>&1 ||
    true; } | sed -n 's/.*(\([0-9.e-]*\)) @ \([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -n 1
}
read -r _ rough_x rough_y <<<"$(match zoom_view_quarter zoom_module_quarter)"
[[ -n "$rough_x" ]] || fail "no place of the landing module was found at 50 %"
around_x=$((rough_x * 4 - 60 < 0 ? 0 : rough_x * 4 - 60))
around_y=$((92 + (rough_y * 4 - 60 < 0 ? 0 : rough_y * 4 - 60)))
around_x=$((around_x > 1024 - 220 ? 1024 - 220 : around_x))
around_y=$((around_y > 768 - 180 ? 768 - 180 : around_y))
convert "$output/zoom_out.png" -crop "220x180+$around_x+$around_y" +repage "$output/zoom_around.png"
read -r small small_x small_y <<<"$(match zoom_around zoom_module_small)"
read -r large _ _ <<<"$(match zoom_around zoom_module)"
echo "module shrunk: $small at $((around_x + small_x)),$((around_y + small_y)); as it was: $large"
awk -v s="$small" -v l="$large" 'BEGIN{exit !(s < 0.08 && 2 * s < l)}' ||
  fail "the landing module is not drawn smaller at 50 % (shrunk $small, as it was $large)"

# The landing module's anchor at 50 %: where the shrunk picture was found, plus the shrunk
# offset of the anchor in it ((80, 73) at 100 %). The cell two steps down the x axis from it lies
# (+72, +48) away on the map surface at 50 %, (+68, +45) on the screen. A click there builds on
# that very cell: the screen changes around the point and not on the cells beside it in the same
# row, a tile to the left and to the right (explored already, so the land the new structure
# explores around it does not change them).
anchor_x=$((around_x + small_x + 43))
anchor_y=$((around_y + small_y + 39))
((anchor_x > 100 && anchor_x < 900 && anchor_y > 150 && anchor_y < 700)) ||
  fail "the landing module was found at $anchor_x,$anchor_y at 50 %, too near the view's edge"
click_x=$((anchor_x + 68))
click_y=$((anchor_y + 45))
xdotool mousemove --sync "$click_x" "$click_y"
sleep 0.3
shot zoom_before_click
xdotool click 1
xdotool mousemove --sync 700 650
cell="44x30+$((click_x - 22))+$((click_y - 15))"
left="44x30+$((click_x - 90))+$((click_y - 15))"
right="44x30+$((click_x + 46))+$((click_y - 15))"
shot_until zoom_clicked differs zoom_before_click zoom_clicked "$cell" ||
  fail "a click at 50 % built nothing under the pointer"
sleep 0.3
shot zoom_clicked
same_area zoom_before_click zoom_clicked "$left" && same_area zoom_before_click zoom_clicked "$right" ||
  fail "the click at 50 % built beside the cell under the pointer"

# Two steps up over the same point: the view of 100 % as it was, with the new structure.
xdotool mousemove --sync 512 433
for _ in 1 2; do
  xdotool click 4
  sleep 0.2
done
xdotool mousemove --sync 700 650
shot_until zoom_back same_area zoom_built zoom_back "200x150+100+150" ||
  fail "two steps up did not bring back the view of 100 %"
[[ "$(frame_width zoom_back)" == "$width_before" ]] || fail "the minimap's frame did not come back"
end_game
echo "zoom end-to-end: ok"
