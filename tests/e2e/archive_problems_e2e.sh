#!/usr/bin/env bash
# The real game started in Xvfb where its archives are missing, then where one is damaged: each
# time it says that it cannot start, naming the archive with its full path, on stderr and on the
# screen, and once the player answers, the game ends with status 1, within seconds.
# Usage: archive_problems_e2e.sh GAME_BINARY OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
binary="$2"
output="$3"
name="archive problems end-to-end"
source "$(dirname "$0")/e2e_lib.sh"

# Starts the game in folder $1 and expects the words $2 on stderr and on the screen: in the
# system's message box, or where the system cannot show one (this Xvfb has no fonts for it),
# on the game's window. Enter answers (screenshot $3) and the game must end with status 1.
expect_refusal() {
  local folder="$1" expected="$2" box=""
  (cd "$folder" && exec "$binary") 2>"$workdir/err" &
  game=$!
  for _ in $(seq 200); do
    grep -qF "$expected" "$workdir/err" && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  grep -qF "$expected" "$workdir/err" ||
    fail "stderr does not say \"$expected\"; it was: $(cat "$workdir/err")"
  box="$(timeout 2 xdotool search --sync --name '^Redhollow cannot start$' | head -n 1)" || true
  if [[ -z "$box" ]]; then
    shot_until "$3" not_black "$3" || fail "neither a message box nor the game's window said it"
  else
    shot "$3"
    xdotool windowfocus --sync "$box"
  fi
  xdotool key Return
  expect_end 1 "Enter on the message"
}

mkdir "$workdir/empty"
expect_refusal "$workdir/empty" "The archive $workdir/empty/res00.dat is missing." archives_missing
truncate -s 100 "$workdir/res02.dat"
expect_refusal "$workdir" "The archive $workdir/res02.dat is damaged: its directory of" archive_damaged
echo "archive problems end-to-end: ok"
