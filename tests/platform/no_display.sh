#!/usr/bin/env bash
# The real game started where there is no display: it must say so in one line on stderr and
# end with status 1 at once, instead of running forever in an invisible window.
# Usage: no_display.sh GAME_BINARY
set -uo pipefail
binary="$(realpath "$1")"
workdir="$(mktemp -d)"
trap 'rm -rf "$workdir"' EXIT

# An empty runtime folder: no Wayland compositor can be found there by its default name either.
(cd "$workdir" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$workdir" \
  timeout 20 "$binary") >"$workdir/out" 2>"$workdir/err"
status=$?
if ((status == 124)); then echo "the game was still running after 20 s"; exit 1; fi
if ((status != 1)); then echo "exit status $status, not 1"; cat "$workdir/err"; exit 1; fi
if [[ "$(grep -c '^Redhollow' "$workdir/err")" != 1 ]] ||
   ! grep -q '^Redhollow needs a graphical display: .*\.$' "$workdir/err"; then
  echo "not one sentence saying that a display is needed; stderr was:"
  cat "$workdir/err"
  exit 1
fi
echo "no display: ok ($(cat "$workdir/err"))"
