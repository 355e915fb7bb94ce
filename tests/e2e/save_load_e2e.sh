#!/usr/bin/env bash
# Saving and loading in the real game (Xvfb at 1024 x 768, xdotool), as a player does it:
# New Game, two structures, F3 and a name; F1, Yes; F2, the name in the list, Load: the screen
# is the saved one again. A damaged copy of the file gives a notice and changes nothing. Then a
# second run: "Credits" and "Load Game" on the title screen, which brings the saved colony back.
# Usage: save_load_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="save and load end-to-end"
source "$(dirname "$0")/e2e_lib.sh"
# How many pixels of two screenshots differ.
pixels_apart() { compare -metric AE "$output/$1.png" "$output/$2.png" null: 2>&1 || true; }
same_screen() { [[ "$(pixels_apart "$1" "$2")" == 0 ]]; }
rest() { xdotool mousemove --sync "$1" "$2"; sleep 0.4; }

centre="300x140+362+314"  # where the dialogs open
start_game
xdotool mousemove --sync 225 364 click 1  # New Game
sleep 1
# A Water Condenser two cells down the view's y axis, a Little House two cells up its x axis.
xdotool mousemove --sync 116 80 click 1 mousemove --sync 45 35 click 1 mousemove --sync 384 519 click 1
sleep 0.3
xdotool mousemove --sync 202 80 click 1 mousemove --sync 45 35 click 1 mousemove --sync 640 348 click 1
sleep 0.3
xdotool key F7
sleep 1.5
xdotool key F5
rest 700 650
shot saved

# F3: the name field of the file dialog, a name, Enter.
xdotool key F3
sleep 0.5
shot save_dialog
differs saved save_dialog "$centre" || fail "F3 showed no file dialog"
xdotool mousemove --sync 510 270 click 1
xdotool type --delay 30 "e2e colony"
xdotool key Return
sleep 0.5
[[ -f "$workdir/SAVES/e2e colony.sav" ]] || fail "nothing was saved"
rest 700 651
shot after_save
same_screen saved after_save || fail "saving changed the screen"

# F1 and Yes: a new colony.
xdotool key F1
sleep 0.5
xdotool key y
rest 700 650
shot fresh
differs saved fresh "82x85+517+3" || fail "the new colony has the saved date"

# F2: the saved name, first in the list, and the action's key L.
xdotool key F2
sleep 0.5
xdotool mousemove --sync 500 307 click 1
xdotool key l
rest 700 651
shot loaded
same_screen saved loaded || fail "the loaded colony differs from the saved one ($(pixels_apart saved loaded) pixels)"

# A damaged copy: the clear sentence, and the game as it was.
head -c 100 "$workdir/SAVES/e2e colony.sav" > "$workdir/SAVES/a damaged copy.sav"
xdotool key F2
sleep 0.5
xdotool mousemove --sync 500 307 click 1
xdotool key l
sleep 0.5
shot damaged_notice
differs loaded damaged_notice "$centre" || fail "the damaged file gave no notice"
xdotool key o
rest 700 650
shot after_damaged
same_screen saved after_damaged || fail "the damaged file changed the game"
end_game

# A second run: the credits, then "Load Game" on the title screen.
start_game
xdotool mousemove --sync 799 365 click 1  # Credits
sleep 0.5
shot credits
differs title credits "$centre" || fail "Credits showed nothing"
xdotool key o
sleep 0.3
xdotool mousemove --sync 410 288 click 1  # Load Game
sleep 0.5
xdotool mousemove --sync 500 324 click 1  # the second line: the saved colony
xdotool key l
sleep 1
rest 700 650
shot menu_loaded
same_screen saved menu_loaded ||
  fail "the colony loaded from the title screen differs ($(pixels_apart saved menu_loaded) pixels)"
end_game
echo "save and load end-to-end: ok"
