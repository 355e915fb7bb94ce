#!/usr/bin/env bash
# Draws docs/windowed-game.png: the game screen of a young colony in a 960 x 600 window on a
# grey desktop of 1280 x 800, played in Xvfb with xdotool from the build's game, with settings
# and saves in a folder of its own.
#   tools/manual/windowed-picture.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside "${1:-$root/build}"
fi
build="$(cd "$2" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"; [[ -n "${game:-}" ]] && kill -9 "$game" 2>/dev/null || true' EXIT
cp "$build"/res0{0,1,2}.dat "$work/"
export HOME="$work" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
convert -size 16x16 xc:'#4a5560' "$work/desktop.png"
display -window root "$work/desktop.png" || true # paints the root and returns

(cd "$work" && exec "$build/redhollow" --window=960x600) &
game=$!
window="$(timeout 20 xdotool search --sync --name '^Redhollow$' | head -n 1)"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
# A click at fractions of the window.
at() {
  xdotool mousemove "$(awk -v f="$1" -v o="$X" -v s="$WIDTH" 'BEGIN { printf "%d", o + f * s }')" \
    "$(awk -v f="$2" -v o="$Y" -v s="$HEIGHT" 'BEGIN { printf "%d", o + f * s }')" click 1
  sleep 0.4
}
at 0.22 0.474 # New Game
sleep 1
# A Water Condenser and two Little Houses around the landing module, and a few days: not so
# many that the condenser runs the power short.
at 0.113 0.104 && at 0.044 0.046 && at 0.42 0.71
at 0.197 0.104 && at 0.044 0.046 && at 0.58 0.53 && at 0.64 0.47
xdotool key F7
sleep 4
xdotool key F5
xdotool mousemove 1270 790
sleep 1
import -window root "$work/shot.png"
convert "$work/shot.png" -strip -define png:compression-level=9 "$root/docs/windowed-game.png"
echo "wrote $root/docs/windowed-game.png"
