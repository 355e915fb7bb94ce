#!/usr/bin/env bash
# The Colony History in the real game (Xvfb at 1024 x 768, xdotool), as a player opens it:
# New Game with a Water Condenser and a Little House, F7 (accelerated time) for some 200 days,
# F5; H shows the history with the population's curve (white pixels in its chart); its Close
# button closes it. F3 saves the colony, F1 and Yes start another whose history has no curve,
# F2 loads the saved one, and H shows the curve again.
# Usage: history_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="history end-to-end"
source "$(dirname "$0")/e2e_lib.sh"
rest() { xdotool mousemove --sync "$1" "$2"; sleep 0.4; }

# The dialog covers the middle 80 % of the screen; the population's chart lies at 0.175..0.685
# of the width and 0.18..0.365 of the height, and is drawn dark with the population in white.
population_chart="522x143+179+138"
close_button="512 665"
# How many white pixels the population's chart of screenshot $1 holds: a curve across it has
# hundreds, a single day's dot nine.
white_pixels() {
  convert "$output/$1.png" -crop "$population_chart" +repage -fill black +opaque white \
    -format '%[fx:round(mean.r*w*h)]' info:
}
has_curve() { (($(white_pixels "$1") >= 100)); }
# H with the pointer away from the charts (where it would draw its marker), a screenshot, and
# the dialog's Close button.
history_shot() {
  rest 1000 740
  xdotool key h
  sleep 0.8
  shot "$1"
  xdotool mousemove --sync $close_button click 1
  rest 1000 741
}

start_game
xdotool mousemove --sync 225 364 click 1  # New Game
sleep 1
# A Water Condenser two cells down the view's y axis, a Little House two cells up its x axis.
xdotool mousemove --sync 116 80 click 1 mousemove --sync 45 35 click 1 mousemove --sync 384 519 click 1
sleep 0.3
xdotool mousemove --sync 202 80 click 1 mousemove --sync 45 35 click 1 mousemove --sync 640 348 click 1
sleep 0.3
# Status again, so that no palette is chosen while time runs; then about 200 accelerated days
# (25 a second).
xdotool mousemove --sync 20 80 click 1
xdotool key F7
sleep 8
xdotool key F5
rest 1000 740
shot before
history_shot history
differs before history "600x400+212+180" || fail "H showed no dialog"
has_curve history || fail "the history shows no population curve"
shot closed
same_area before closed "1024x700+0+68" || fail "Close left the history on the screen"

# F3: the name field of the file dialog, a name, Enter.
xdotool key F3
sleep 0.5
xdotool mousemove --sync 510 270 click 1
xdotool type --delay 30 "history colony"
xdotool key Return
sleep 0.5
[[ -f "$workdir/SAVES/history colony.sav" ]] || fail "nothing was saved"

# F1 and Yes: a colony of day one, with no curve to show.
xdotool key F1
sleep 0.5
xdotool key y
sleep 0.5
history_shot fresh_history
has_curve fresh_history && fail "a new colony shows the old colony's curve"

# F2: the saved colony, first in the list, and the action's key L; its history is back.
xdotool key F2
sleep 0.5
xdotool mousemove --sync 500 307 click 1
xdotool key l
sleep 1
history_shot loaded_history
has_curve loaded_history || fail "the loaded colony shows no population curve"
same_area history loaded_history "820x610+102+78" ||
  fail "the loaded colony's history differs from the saved one's"
end_game
echo "history end-to-end: ok"
