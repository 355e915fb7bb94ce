#!/usr/bin/env bash
# The real game in a real X window (Xvfb at 1024 x 768), played as a player would: the title
# screen, "New Game", "Water and Power", the Water Condenser on a free cell beside the landing
# module, F7, and after a while the condenser stands and the date has moved on; then Esc, Yes,
# and the game ends with status 0. Screenshots go to OUTPUT_DIR.
# Usage: game_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$@"
fi
binary="$2"
output="$3"
archives="$(dirname "$binary")"
mkdir -p "$output"
# In the sanitizer build the game is checked for leaks and double frees as it plays and quits.
export ASAN_OPTIONS=detect_leaks=1
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

# The game reads its archives from the folder it starts in and keeps its saves there.
workdir="$(mktemp -d)"
cp "$archives"/res0{0,1,2}.dat "$workdir/"
game=""
trap 'rm -rf "$workdir"; [[ -n "$game" ]] && kill "$game" 2>/dev/null || true' EXIT
(cd "$workdir" && exec "$binary") &
game=$!

fail() { echo "game end-to-end: $*"; import -window root "$output/game_e2e_failure.png" || true; exit 1; }
shot() { import -window root "$output/$1.png"; }
# The mean colour of a rectangle of a screenshot, as text.
mean() { convert "$output/$1.png" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:; }
differs() { [[ "$(mean "$1" "$3")" != "$(mean "$2" "$3")" ]]; }
# Takes screenshot $1 until the condition $2... holds, for up to 60 s (a loaded machine and the
# sanitizer build are slow).
shot_until() {
  local name="$1"
  shift
  for _ in $(seq 240); do
    shot "$name"
    if "$@"; then return 0; fi
    sleep 0.25
  done
  return 1
}
not_black() { [[ "$(mean "$1" 1024x768+0+0)" != "0 0 0" ]]; }

window="$(timeout 20 xdotool search --sync --name '^Redhollow$' | head -n 1)"
[[ -n "$window" ]] || fail "no window titled Redhollow"
geometry="$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')"
[[ "$geometry" == "1024x768" ]] || fail "the window is $geometry, not the whole 1024x768 screen"
shot_until e2e_menu not_black e2e_menu || fail "the title screen stayed black"
sleep 0.5
shot e2e_menu

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

# Esc asks whether to exit, in the game's own dialog over the map; Enter answers with its first
# button, Yes, and the game ends with status 0.
xdotool key Escape
dialog="300x120+362+324"
shot_until e2e_exit_question differs e2e_running e2e_exit_question "$dialog" ||
  fail "Esc did not ask whether to exit"
xdotool key Return
for _ in $(seq 50); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then fail "Yes did not end the game"; fi
status=0
wait "$game" || status=$?
game=""
[[ "$status" == 0 ]] || fail "the game ended with status $status"
echo "game end-to-end: ok"
