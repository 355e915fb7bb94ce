#!/usr/bin/env bash
# The desktop's comforts in the real game (Xvfb at 1920 x 1080, xdotool), used as a player does:
#   1. `--window=1280x720` opens a window of that size; resized to 1600 x 900, the title screen
#      fills it to its edges;
#   2. Alt+Enter fills the screen, and again gives the window back at 1600 x 900;
#   3. F9 on the game screen, sound effects off, Ok, quit; started again, the window opens at
#      1600 x 900 where it was, and F9 shows the sound off (settings.ini says so too);
#   4. a colony built and saved with F3, one more structure placed, F12, quit with Yes: the
#      screenshot is a PNG of the window in the pictures folder, and the autosave holds the
#      colony as it was left, as colony-sim reads it beside the saved one.
# Settings, pictures and saves go to folders of the test's own. Screenshots go to OUTPUT_DIR.
# Usage: desktop_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="desktop end-to-end"
source "$(dirname "$0")/e2e_lib.sh"
colony_sim="$(dirname "$binary")/colony-sim"
export HOME="$workdir/home" XDG_PICTURES_DIR="$workdir/pictures"
mkdir -p "$HOME"
settings="$XDG_CONFIG_HOME/redhollow/settings.ini"

# Polls the condition $2... ten times a second for up to $1 seconds.
within() {
  local seconds="$1"
  shift
  for _ in $(seq $((seconds * 10))); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}
# The window's place and size: X, Y, WIDTH and HEIGHT.
measure() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
size_is() {
  measure
  [[ "${WIDTH}x$HEIGHT" == "$1" ]]
}
expect_size() { within 20 size_is "$1" || fail "$2: the window is ${WIDTH}x$HEIGHT, not $1"; }
# Fractions of the window as the screen's pixels: a point (x y), or a rectangle from its left,
# top, width and height (WxH+X+Y).
point() { awk -v x="$1" -v y="$2" -v X="$X" -v Y="$Y" -v w="$WIDTH" -v h="$HEIGHT" \
  'BEGIN { printf "%d %d", X + x * w, Y + y * h }'; }
area() { awk -v l="$1" -v t="$2" -v pw="$3" -v ph="$4" -v X="$X" -v Y="$Y" -v w="$WIDTH" -v h="$HEIGHT" \
  'BEGIN { printf "%dx%d+%d+%d", pw * w, ph * h, X + l * w, Y + t * h }'; }
# No --sync: it waits for a pointer that is already there to move, for many seconds; the
# server takes the moves and clicks in order all the same.
click_at() {
  # shellcheck disable=SC2046  # a point is two words
  xdotool mousemove $(point "$1" "$2") click 1
  sleep 0.3
}
# The pointer rests in the corner, on no button, so that no hover changes what is compared.
rest() {
  # shellcheck disable=SC2046
  xdotool mousemove $(point 0.99 0.99)
  sleep 0.3
}
black() { [[ "$(mean "$1" "$2")" == "0 0 0" ]]; }
setting_is() { grep -qx "$1 = $2" "$settings" 2>/dev/null; }

# --- 1. a window of the size asked for; resized, the title screen fills it ---
start_game "$binary" "$workdir" --window=1280x720
expect_size 1280x720 "--window=1280x720"
xdotool windowsize "$window" 1600 900
expect_size 1600x900 "resized to 1600x900"
first_place="+$X+$Y"
fills_window() {
  local corner=8 right=$((X + WIDTH - 1)) bottom=$((Y + HEIGHT - 1))
  for place in "+$X+$Y" "+$((right - corner + 1))+$Y" "+$X+$((bottom - corner + 1))" \
    "+$((right - corner + 1))+$((bottom - corner + 1))"; do
    black resized "${corner}x$corner$place" && return 1
  done
  # The picture's outermost rows and columns are drawn; the black root begins beyond them.
  for edge in "1x$HEIGHT+$X+$Y" "1x$HEIGHT+$right+$Y" "${WIDTH}x1+$X+$Y" "${WIDTH}x1+$X+$bottom"; do
    black resized "$edge" && return 1
  done
  if ((X > 0)); then black resized "1x$HEIGHT+$((X - 1))+$Y" || return 1; fi
  if ((Y > 0)); then black resized "${WIDTH}x1+$X+$((Y - 1))" || return 1; fi
}
shot_until resized fills_window || fail "the title screen does not fill the 1600x900 window"

# --- 2. Alt+Enter: the whole screen, and the window again ---
xdotool key alt+Return
expect_size 1920x1080 "Alt+Enter"
corners_drawn() {
  ! black full_screen "8x8+0+0" && ! black full_screen "8x8+1912+1072" &&
    ! black full_screen "8x8+1912+0" && ! black full_screen "8x8+0+1072"
}
shot_until full_screen corners_drawn || fail "the title screen does not fill the screen"
xdotool key alt+Return
expect_size 1600x900 "Alt+Enter again"
[[ "+$X+$Y" == "$first_place" ]] || fail "the window came back at +$X+$Y, not $first_place"

# --- 3. F9 on the game screen: sound effects off, Ok; quit and start again ---
# Where things stand in the window: the top strip of the game screen, the Options dialog and its
# sound effects button, the calendar.
strip="$(area 0 0 1 0.12)"
options="$(area 0.36 0.35 0.28 0.27)"
sound_button="$(area 0.4875 0.397 0.14 0.028)"
date_box="$(area 0.505 0.004 0.08 0.11)"
new_game() {
  rest
  shot "$1_title"
  click_at 0.22 0.474
  rest
  shot_until "$1" differs "$1_title" "$1" "$strip" || fail "New Game showed no game screen"
}
new_game game_screen
xdotool key F9
shot_until options_on differs game_screen options_on "$options" || fail "F9 showed no Options"
xdotool key s
shot_until options_off differs options_on options_off "$sound_button" ||
  fail "S did not switch the sound effects in the Options"
xdotool key o
within 10 setting_is sound-effects off || fail "Ok did not write sound-effects = off"
shot_until options_closed same_area game_screen options_closed "$options" ||
  fail "the Options stayed after Ok"
end_game
for line in "full-screen no" "window-size 1600x900" "window-position $X,$Y"; do
  # shellcheck disable=SC2086  # a key and its value
  setting_is $line || fail "settings.ini does not say '$line' after quitting"
done

start_game
expect_size 1600x900 "started again"
[[ "+$X+$Y" == "$first_place" ]] || fail "the window opened again at +$X+$Y, not $first_place"
rest
shot title_again
xdotool key F9
shot_until options_again differs title_again options_again "$options" ||
  fail "F9 on the title screen showed no Options"
same_area options_off options_again "$sound_button" ||
  fail "the Options do not show the sound effects off after a restart"
xdotool key c
shot_until options_again_closed same_area title_again options_again_closed "$options" ||
  fail "the Options stayed after Cancel"

# --- 4. a colony saved, one more structure, F12, quit: the screenshot and the autosave ---
new_game colony
build() {  # a tab, its first structure, a cell
  click_at "$1" 0.104
  click_at 0.044 0.046
  click_at "$2" "$3"
}
build 0.113 0.417 0.703  # a Water Condenser two cells below the landing module
build 0.197 0.583 0.519  # a Little House two cells above it
rest
shot built
xdotool key F7
shot_until running differs built running "$date_box" || fail "the date did not move on after F7"
xdotool key F5
sleep 0.5
xdotool key F3
shot_until save_dialog differs running save_dialog "$options" || fail "F3 showed no file dialog"
click_at 0.498 0.352
xdotool type --delay 30 e2ecolony
xdotool key Return
within 10 test -f "$workdir/SAVES/e2ecolony.sav" || fail "F3 saved nothing"
sleep 0.5
click_at 0.625 0.472  # another Little House, beside the first
rest
import -window "$window" "$output/before_f12.png"
xdotool key F12
written_png() {
  local found
  found="$(find "$XDG_PICTURES_DIR/Redhollow" -name '*.png' 2>/dev/null | head -n 1)"
  [[ -n "$found" && "$(identify -format '%m %wx%h' "$found" 2>/dev/null)" == "PNG 1600x900" ]] &&
    picture="$found"
}
within 20 written_png || fail "F12 wrote no PNG of 1600x900 into $XDG_PICTURES_DIR/Redhollow"
apart="$(compare -metric AE "$output/before_f12.png" "$picture" null: 2>&1 || true)"
((apart < 1600 * 900 / 100)) || fail "the screenshot differs from the window in $apart pixels"
end_game
[[ -f "$workdir/SAVES/autosave-1.sav" ]] || fail "quitting with Yes left no SAVES/autosave-1.sav"

# colony-sim reads both: the same date and colonists, the saved structures and one site more.
read_colony() {
  printf 'load %s\nstate\ncells\n' "$workdir/SAVES/$1.sav" | "$colony_sim" >"$output/$1.jsonl" ||
    fail "colony-sim could not run on $1.sav"
  ! grep -q '"error"' "$output/$1.jsonl" || fail "colony-sim did not load $1.sav"
}
read_colony e2ecolony
read_colony autosave-1
people_and_date() { head -n 1 "$output/$1.jsonl" | grep -oE '"(population|day|month|year)":[0-9]+'; }
[[ "$(people_and_date e2ecolony)" == "$(people_and_date autosave-1)" ]] ||
  fail "the autosave's colony has other colonists or another date than the saved one"
cells() { tail -n +2 "$output/$1.jsonl" | sort; }
(($(cells e2ecolony | wc -l) >= 3)) || fail "the saved colony lacks the structures built"
gone="$(comm -23 <(cells e2ecolony) <(cells autosave-1))"
added="$(comm -13 <(cells e2ecolony) <(cells autosave-1))"
[[ -z "$gone" ]] || fail "the autosave lacks cells of the saved colony: $gone"
[[ "$(wc -l <<<"$added")" == 1 && "$added" =~ \"left\":[1-9] ]] ||
  fail "the autosave does not hold exactly the one building site placed after saving: $added"
echo "desktop end-to-end: ok"
