# What the end-to-end scripts share; sourced after they have restarted themselves inside
# xvfb-run. Expects `binary` (the game), `output` (the screenshots' folder) and `name` (the
# script's name for its messages). The game runs in a folder of its own holding the archives
# it reads and the saves it writes; the folder and a game still running go at the end.
archives="$(dirname "$binary")"
mkdir -p "$output"
# In the sanitizer build the game is checked for leaks and double frees as it plays and quits.
export ASAN_OPTIONS=detect_leaks=1
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

workdir="$(mktemp -d)"
# The settings the game keeps go here, never to the settings of the person running the test.
export XDG_CONFIG_HOME="$workdir/config"
if [[ -f "$archives/res00.dat" ]]; then cp "$archives"/res0{0,1,2}.dat "$workdir/"; fi
game=""
trap 'rm -rf "$workdir"; [[ -n "$game" ]] && kill "$game" 2>/dev/null || true' EXIT

fail() { echo "$name: $*"; import -window root "$output/${name// /_}_failure.png" || true; exit 1; }
shot() { import -window root "$output/$1.png"; }
# The mean colour of a rectangle of a screenshot, as text.
mean() { convert "$output/$1.png" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:; }
differs() { [[ "$(mean "$1" "$3")" != "$(mean "$2" "$3")" ]]; }
# The same area of two screenshots holds the same pixels.
same_area() { ! differs "$@"; }
# Takes screenshot $1 until the condition $2... holds, for up to 60 s (a loaded machine and the
# sanitizer build are slow).
# The time is counted, not the tries: a try takes long where the machine is busy.
shot_until() {
  local shot_name="$1" deadline=$((SECONDS + 60))
  shift
  while ((SECONDS < deadline)); do
    shot "$shot_name"
    if "$@"; then return 0; fi
    sleep 0.25
  done
  return 1
}
not_black() { [[ "$(mean "$1" 1024x768+0+0)" != "0 0 0" ]]; }
# Starts a game ($1, else the game) in a folder ($2, else its own) with the arguments after
# them, and waits for its title screen; `window` is its window's id.
start_game() {
  local program="${1:-$binary}" folder="${2:-$workdir}"
  shift $(($# < 2 ? $# : 2))
  (cd "$folder" && exec "$program" "$@") &
  game=$!
  window="$(timeout 20 xdotool search --sync --name '^Redhollow$' | head -n 1)"
  [[ -n "$window" ]] || fail "no window titled Redhollow from $program"
  shot_until title not_black title || fail "the title screen stayed black"
  sleep 0.5
}
# Within 5 s of an answer ($2) the game must end, with status $1.
expect_end() {
  for _ in $(seq 50); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game" 2>/dev/null && fail "$2 did not end the game"
  local status=0
  wait "$game" || status=$?
  game=""
  [[ "$status" == "$1" ]] || fail "the game ended with status $status, not $1"
}
# Enter on the exit question's first button, Yes: the game must end with status 0.
confirm_exit() {
  xdotool key Return
  expect_end 0 Yes
}
# Esc asks whether to exit; Yes.
end_game() {
  xdotool key Escape
  sleep 0.5
  confirm_exit
}
