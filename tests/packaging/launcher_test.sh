#!/usr/bin/env bash
# The installed launcher, in a prefix of its own, with a stand-in for the game that tells the
# folder it runs in and what its res02.dat holds. The launcher links the installed archives and
# manual into the player's folder and renews those links; an archive, manual page or manual
# folder that the player put there is kept as it is, used, and named in one line on stderr the
# first time. The launcher hands its arguments to the game: the real game's --version answers
# through it.
# Usage: launcher_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "launcher: $*"
  exit 1
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
game="$(find "$work/prefix" -type f -path '*/redhollow/redhollow')"
data="$(dirname "$(find "$work/prefix" -name res00.dat)")"
[[ -f "$game" && -d "$data" ]] || fail "the installed game or its archives were not found"
# Debian's place for the command that starts a game.
launcher="$work/prefix/games/redhollow"
[[ -x "$launcher" ]] || fail "no launcher in games/ of the prefix"
cp "$game" "$work/real-game"
cat >"$game" <<'STAND_IN'
#!/bin/sh
echo "folder: $(pwd)"
for argument in "$@"; do echo "argument: $argument"; done
head -c 64 res02.dat
echo
STAND_IN

export HOME="$work/home"
unset XDG_DATA_HOME
player="$HOME/.local/share/redhollow"
items=(res00.dat res01.dat res02.dat Pell.html manual)
launch() {
  "$launcher" >"$work/out" 2>"$work/err" ||
    fail "the launcher failed: $(cat "$work/err")"
}

# The first start links everything and has nothing to say.
launch
for item in "${items[@]}"; do
  [[ -L "$player/$item" && "$(readlink "$player/$item")" == "$data/$item" ]] ||
    fail "no link to the installed $item"
done
grep -qx "folder: $player" "$work/out" || fail "the game did not start in the player's folder"
[[ ! -s "$work/err" ]] || fail "a start with only links said: $(cat "$work/err")"

# The player packs art into the folder (resarc puts a file where the link was), writes a page
# of their own and keeps a folder of pictures; a link of an installation that is gone stays.
rm "$player/res02.dat"
printf 'the player art' >"$player/res02.dat"
rm "$player/Pell.html"
echo '<p>my notes</p>' >"$player/Pell.html"
rm "$player/manual"
mkdir "$player/manual"
echo mine >"$player/manual/page.png"
ln -sfn "$work/gone/res00.dat" "$player/res00.dat"

for start in first second; do
  launch
  [[ -f "$player/res02.dat" && ! -L "$player/res02.dat" &&
     "$(cat "$player/res02.dat")" == "the player art" ]] ||
    fail "the player's res02.dat did not survive the $start start"
  grep -qx "the player art" "$work/out" || fail "the game did not read the player's res02.dat"
  [[ ! -L "$player/Pell.html" && "$(cat "$player/Pell.html")" == "<p>my notes</p>" ]] ||
    fail "the player's Pell.html did not survive the $start start"
  [[ -d "$player/manual" && ! -L "$player/manual" && "$(cat "$player/manual/page.png")" == mine ]] ||
    fail "the player's manual folder did not survive the $start start"
  [[ ! -e "$player/manual/manual" ]] || fail "a link was put inside the player's manual folder"
  [[ "$(readlink "$player/res00.dat")" == "$data/res00.dat" ]] ||
    fail "the link to a removed installation was not renewed"
  [[ "$(readlink "$player/res01.dat")" == "$data/res01.dat" ]] || fail "a link was lost"
  if [[ "$start" == first ]]; then
    [[ "$(wc -l <"$work/err")" == 1 ]] &&
      grep -q "res02.dat, Pell.html, manual from $player" "$work/err" ||
      fail "not one line naming the player's own files; stderr was: $(cat "$work/err")"
    said="$(cat "$work/err")"
  else
    [[ ! -s "$work/err" ]] || fail "the player was told again: $(cat "$work/err")"
  fi
done

# When the player's own files change, the player hears of it once more.
rm -r "$player/manual"
launch
grep -q "res02.dat, Pell.html from $player" "$work/err" ||
  fail "a change of the player's own files was not told; stderr was: $(cat "$work/err")"
[[ -L "$player/manual" ]] || fail "the removed manual folder was not linked again"
# Arguments reach the game as they were given, spaces and all.
"$launcher" --window=1024x768 "two words" "" >"$work/out" 2>"$work/err" ||
  fail "the launcher failed with arguments: $(cat "$work/err")"
[[ "$(grep '^argument: ' "$work/out")" == "$(printf 'argument: %s\n' --window=1024x768 "two words" "")" ]] ||
  fail "the arguments did not reach the game as given: $(cat "$work/out")"
# The real game answers --version through the launcher, without a display.
cp "$work/real-game" "$game"
version="$(env -u DISPLAY -u WAYLAND_DISPLAY "$launcher" --version 2>"$work/err")" ||
  fail "--version through the launcher failed: $(cat "$work/err")"
# The same version as the package's: the build knows one.
packaged="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
[[ -n "$packaged" && "$version" == "Redhollow $packaged" ]] ||
  fail "--version said '$version', the package is version '$packaged'"
echo "launcher: ok ($said; $version)"
