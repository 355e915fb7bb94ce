#!/usr/bin/env bash
# Start-up time and peak memory of the whole game in a real X server (Xvfb), measured from
# outside with startup_probe: ms from exec until the window is mapped, ms until a point of the
# screen first turns non-black, and the peak resident memory (VmHWM) at the end. Each size
# gets a fresh server per run; the medians of the runs are printed last.
#
#   bench/startup_memory.sh [--build DIR] [--program NAME] [--sizes "WxH ..."] [--runs N]
#                           [--at FX,FY] [--play] [--zoom] [--pixel-timeout-ms N]
#
#   --program  the binary in the build folder (default redhollow)
#   --play     after the first frame: New Game (a click at 0.22, 0.475 of the screen), then
#              F7 and 4.5 s, which is 100 accelerated days, before the peak is read
#   --zoom     with --play, then the wheel over the view's centre through every scale (down to
#              50 %, up to 200 %, back to 100 %), a second at each, before the peak is read
#
# Environment variables given to the script reach the game (SDL's own, such as
# SDL_FRAMEBUFFER_ACCELERATION, are how SDL's choices are compared from outside).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
program="redhollow"
sizes="1024x768 1920x1080 3840x2160"
runs=5
at="0.5,0.5"
play=0
zoom=0
pixel_timeout=3000
while (($#)); do
  case "$1" in
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    --program) program="$2"; shift 2 ;;
    --sizes) sizes="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --at) at="$2"; shift 2 ;;
    --play) play=1; shift ;;
    --zoom) zoom=1; shift ;;
    --pixel-timeout-ms) pixel_timeout="$2"; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
# The game is measured in the X server started here, whatever driver the caller's tests chose.
unset SDL_VIDEODRIVER
probe="$build/bench/startup_probe"
[[ -x "$probe" ]] || { echo "no $probe; build the bench targets first" >&2; exit 2; }
[[ -x "$build/$program" ]] || { echo "no $build/$program" >&2; exit 2; }

median() { sort -n | awk '{v[NR]=$1} END{if(NR==0){print "none"} else if(NR%2){print v[(NR+1)/2]} else {print (v[NR/2]+v[NR/2+1])/2}}'; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" | grep -v '^none$' || true; }

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
echo "program: $program; point ($at); runs per size: $runs; play: $play; zoom: $zoom"
summary=""
for size in $sizes; do
  width="${size%x*}"
  height="${size#*x}"
  then_command=""
  if ((play)); then
    x="$(awk -v w="$width" 'BEGIN{printf "%d", w*0.22}')"
    y="$(awk -v h="$height" 'BEGIN{printf "%d", h*0.475}')"
    then_command="xdotool mousemove --sync $x $y click 1; sleep 1; xdotool key F7; sleep 4.5"
    if ((zoom)); then
      # The view's centre: the map lies below the top strip, from 0.12 of the height down.
      cy="$(awk -v h="$height" 'BEGIN{printf "%d", h*0.56}')"
      then_command+="; xdotool mousemove --sync $((width / 2)) $cy"
      for button in 5 5 4 4 4 4 5 5; do then_command+="; xdotool click $button; sleep 1"; done
    fi
  fi
  results=""
  for ((run = 1; run <= runs; run++)); do
    # A first start of its own: the caller's remembered window or scale would measure another
    # game, and what the run saves stays out of the caller's folders.
    fresh="$(mktemp -d)"
    line="$(cd "$build" && XDG_CONFIG_HOME="$fresh/config" XDG_DATA_HOME="$fresh/data" \
      xvfb-run -a -s "-screen 0 ${size}x24" "$probe" --at "$at" \
      --pixel-timeout-ms "$pixel_timeout" --then "$then_command" -- "./$program" 2>/dev/null)" || true
    rm -rf "$fresh"
    echo "$size run $run: $line"
    results+="$line"$'\n'
  done
  map="$(printf '%s' "$results" | field map_ms | median)"
  pixel="$(printf '%s' "$results" | field first_pixel_ms | median)"
  hwm="$(printf '%s' "$results" | field vmhwm_kb | median)"
  [[ "$hwm" != none ]] && hwm="$(awk -v k="$hwm" 'BEGIN{printf "%.1f MB", k/1024}')"
  summary+="$size: window mapped ${map} ms, first frame ${pixel} ms, peak ${hwm}"$'\n'
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo "medians:"
printf '%s' "$summary"
