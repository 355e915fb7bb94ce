#!/usr/bin/env bash
# The real game in a real X window (Xvfb at 1024 x 768), played as a player would: the title
# screen, F9's Options and Cancel, "New Game", "Water and Power", the Water Condenser on a free
# cell beside the landing module, F7, and after a while the condenser stands and the date has
# moved on; F10, which this server without a window manager ignores, and the date still moves
# on; then Esc, Yes, and the game ends with status 0. Screenshots go to OUTPUT_DIR.
# Usage: game_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="game end-to-end"
source "$(dirname "$0")/e2e_lib.sh"
start_game
geometry="$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')"
[[ "$geometry" == "1024x768" ]] || fail "the window is $geometry, not the whole 1024x768 screen"
# The pointer rests below the buttons, where no button lights up nor brings up its tooltip.
xdotool mousemove 512 700
sleep 0.5
shot e2e_menu

# F9 opens the Options in the middle of the title screen; Cancel ("C") closes them and the
# title screen is back as it was.
options="300x190+362+290"
xdotool key F9
shot_until e2e_options differs e2e_menu e2e_options "$options" || fail "F9 showed no Options"
xdotool key c
shot_until e2e_options_closed same_area e2e_menu e2e_options_closed "$options" ||
  fail "the Options stayed after Cancel"

# New Game ("New Game" stands at 0.14..0.30, 0.40..0.55 of the screen), then the Water and
# Power tab and the Water Condenser.
strip="1024x92+0+0"
xdotool mousemove --sync 225 364 click 1
shot_until e2e_new_game differs e2e_menu e2e_new_game "$strip" || fail "New Game showed no game screen"
xdotool mousemove --sync 116 80 click 1
sleep 0.3
xdotool mousemove --sync 45 35 click 1
sleep 0.3
xdotool mousemove --sync 700 650
sleep 0.5
shot e2e_new_game
# The view is centred on the landing module (or the cell beside it); two cells down the y
# axis from the centre is explored bare land, at (384, 519) on this screen.
cell="80x70+344+470"
xdotool mousemove --sync 384 519 click 1
sleep 0.2
xdotool mousemove --sync 700 650
shot_until e2e_site differs e2e_new_game e2e_site "$cell" || fail "nothing was built on the cell"
sleep 0.3
shot e2e_site
datebox="82x85+517+3"
counters="212x38+696+3"
xdotool key F7
finished() {
  differs e2e_site e2e_running "$datebox" && differs e2e_site e2e_running "$cell" &&
    differs e2e_site e2e_running "$counters"
}
sleep 1
shot_until e2e_running finished ||
  fail "the date, the building site or the counters did not move on"
kill -0 "$game" || fail "the game ended while it ran"

# F10 minimises. A server without a window manager never does, nor says anything back: the
# game waits a moment for the window system and then goes on, the date with it.
xdotool key F10
sleep 1.5
shot e2e_after_f10
shot_until e2e_after_f10_later differs e2e_after_f10 e2e_after_f10_later "$datebox" ||
  fail "after F10 the date stood still"

# Esc asks whether to exit, in the game's own dialog over the map; Enter answers with its first
# button, Yes, and the game ends with status 0.
xdotool key Escape
dialog="300x120+362+324"
shot_until e2e_exit_question differs e2e_running e2e_exit_question "$dialog" ||
  fail "Esc did not ask whether to exit"
confirm_exit
echo "game end-to-end: ok"
