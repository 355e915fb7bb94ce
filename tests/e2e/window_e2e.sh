#!/usr/bin/env bash
# Runs the real game in a real X window (Xvfb): the window is titled "Redhollow", covers the
# whole screen, shows black, keeps handling events, and Alt+F4 closes it.
# Usage: window_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside "$@"
fi
binary="$2"
output="$3"
mkdir -p "$output"
export ASAN_OPTIONS=detect_leaks=0
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

workdir="$(mktemp -d)"
trap 'rm -rf "$workdir"; kill "$game" 2>/dev/null || true' EXIT
(cd "$workdir" && exec "$binary") &
game=$!

window="$(timeout 20 xdotool search --sync --name '^Redhollow$' | head -n 1)"
[[ -n "$window" ]] || { echo "no window titled Redhollow"; exit 1; }
geometry="$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')"
[[ "$geometry" == "1280x800" ]] || { echo "window is $geometry, not the whole 1280x800 screen"; exit 1; }

# Pointer and keys reach the game and it goes on running. The pointer starts at the centre,
# and a --sync move to where it already is would wait for a motion that never comes.
xdotool mousemove --sync 600 380 mousemove --sync 10 10 click 1 key a key F12
sleep 1
kill -0 "$game" || { echo "the game ended on plain input"; exit 1; }
import -window root "$output/window_e2e.png"
mean="$(convert "$output/window_e2e.png" -format '%[fx:mean]' info:)"
[[ "$mean" == "0" ]] || { echo "the window is not black (mean $mean)"; exit 1; }

# With no screen active, Alt+F4 closes at once: so soon that the window may be gone before
# xdotool has sent the key releases, which it reports as an error.
xdotool key --window "$window" alt+F4 2>/dev/null || true
for _ in $(seq 50); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then echo "Alt+F4 did not close the game"; exit 1; fi
wait "$game"
echo "window end-to-end: ok"
