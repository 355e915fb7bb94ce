#!/usr/bin/env bash
# The real game's command line where there is no display: --version and --help answer on
# stdout with status 0, a mistake complains on stderr with the usage and status 2, all at once
# and without opening anything.
# Usage: command_line.sh GAME_BINARY
set -uo pipefail
binary="$(realpath "$1")"
workdir="$(mktemp -d)"
trap 'rm -rf "$workdir"' EXIT
fail() {
  echo "command line: $*"
  for stream in out err; do echo "--- std$stream:"; cat "$workdir/$stream"; done
  exit 1
}
# Runs the game with these arguments, no display and no archives; sets `status`.
run() {
  (cd "$workdir" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    XDG_RUNTIME_DIR="$workdir" timeout 20 "$binary" "$@") >"$workdir/out" 2>"$workdir/err"
  status=$?
}

run --version
((status == 0)) || fail "--version ended with status $status"
[[ "$(wc -l <"$workdir/out")" == 1 ]] && grep -qE '^Redhollow [0-9]+(\.[0-9]+)+$' "$workdir/out" ||
  fail "--version did not print one line 'Redhollow N.N'"
[[ ! -s "$workdir/err" ]] || fail "--version wrote on stderr"
version="$(cat "$workdir/out")"

run --help
((status == 0)) || fail "--help ended with status $status"
grep -q '^Usage: redhollow' "$workdir/out" && grep -q -- '--window\[=WxH\]' "$workdir/out" ||
  fail "--help did not print the usage"
[[ ! -s "$workdir/err" ]] || fail "--help wrote on stderr"

for mistake in --bogus stray --window=799x600; do
  run "$mistake"
  ((status == 2)) || fail "$mistake ended with status $status, not 2"
  [[ ! -s "$workdir/out" ]] || fail "$mistake wrote on stdout"
  head -n 1 "$workdir/err" | grep -qF "'${mistake#--window=}'" ||
    fail "$mistake: the first line on stderr does not name it"
  sed -n 2p "$workdir/err" | grep -q '^Usage: redhollow' || fail "$mistake: no usage after it"
done
[[ -z "$(ls -A "$workdir" | grep -v -e '^out$' -e '^err$')" ]] || fail "files were written: $(ls -A "$workdir")"
echo "command line: ok ($version)"
