#!/usr/bin/env bash
# Installing the game as a player would, in Xvfb at 1024 x 768: `cmake --install` into a
# prefix of its own, the desktop entry valid, the icons there, and the installed game started
# through its launcher from some other folder: it opens on its title screen, keeps its saved
# game in the player's folder, and after the installation is removed and installed again (and
# then from the Debian package that cpack makes) loads that game from its title screen. Art
# that the player packed into the player's folder with the installed resarc in between stays
# there and is shown.
# Usage: install_e2e.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
build="$2"
output="$3"
name="install end-to-end"
binary="(the launcher)"
source "$(dirname "$0")/e2e_lib.sh"

root="$workdir/install"
export HOME="$workdir/home"
unset XDG_DATA_HOME
player="$HOME/.local/share/redhollow"
mkdir -p "$HOME" "$workdir/elsewhere"
install_to() { cmake --install "$build" --prefix "$1" >/dev/null || fail "cmake --install failed"; }
# "Load Game" on the title screen, the first saved game, its key L: the game screen comes.
load_first_saved_game() {
  xdotool mousemove --sync 410 288 click 1
  sleep 0.5
  xdotool mousemove --sync 500 307 click 1
  xdotool key l
  sleep 1
  xdotool mousemove --sync 700 650
  sleep 0.4
  shot loaded_after_install
  differs title loaded_after_install "1024x92+0+0" || fail "the saved game did not load"
}

install_to "$root/first"
desktop-file-validate "$root/first/share/applications/redhollow.desktop" || fail "the desktop entry is not valid"
for size in 16 24 32 48 64 128 256; do
  [[ -f "$root/first/share/icons/hicolor/${size}x${size}/apps/redhollow.png" ]] || fail "no ${size}px icon"
done
[[ -f "$root/first/share/games/redhollow/Pell.html" ]] || fail "no manual"

start_game "$root/first/games/redhollow" "$workdir/elsewhere"
[[ -L "$player/res02.dat" && -e "$player/res02.dat" ]] || fail "the player's folder has no archives"
[[ -e "$player/Pell.html" && -d "$player/manual" ]] || fail "the player's folder has no manual"
xdotool mousemove --sync 225 364 click 1  # New Game
sleep 1
xdotool key F3
sleep 0.5
xdotool mousemove --sync 510 270 click 1
xdotool type --delay 30 "kept"
xdotool key Return
sleep 0.5
[[ -f "$player/SAVES/kept.sav" ]] || fail "the game was not saved in the player's folder"
end_game
cp "$output/title.png" "$output/title_installed_art.png"

# The player changes the title screen's art as the README says, with the installed resarc
# ($1), packing into the player's folder: the archive takes the place of the link, and no later
# start replaces it. The arguments after it are convert's, for the change made to the picture.
players_art=""
change_title_art() {
  local resarc="$1"
  shift
  rm -rf "$workdir/art"
  "$resarc" extract "$player/res01.dat" "$workdir/art" >/dev/null || fail "resarc extract failed"
  convert "$workdir/art/003-MMBkgnd.png" "$@" "$workdir/art/003-MMBkgnd.png"
  "$resarc" pack "$workdir/art" "$player/res01.dat" || fail "resarc pack failed"
  [[ -f "$player/res01.dat" && ! -L "$player/res01.dat" ]] || fail "resarc left the link in place"
  players_art="$(md5sum <"$player/res01.dat")"
}
players_art_kept() {
  [[ ! -L "$player/res01.dat" && "$(md5sum <"$player/res01.dat")" == "$players_art" ]] ||
    fail "a start replaced the player's own res01.dat"
  differs title_installed_art title "1024x768+0+0" || fail "the title screen is not the player's art"
}
change_title_art "$root/first/games/resarc" -negate

# Removed and installed again elsewhere: the save is still the player's.
rm -rf "$root"
install_to "$root/second"
start_game "$root/second/games/redhollow" "$workdir/elsewhere"
players_art_kept
load_first_saved_game
end_game

# The Debian package: its contents start the same way and find the same save.
(cd "$build" && cpack -G DEB -B "$workdir/package" >/dev/null) || fail "cpack failed"
deb="$(ls "$workdir"/package/redhollow_*.deb 2>/dev/null | head -n 1)"
[[ -n "$deb" && -f "$deb" ]] || fail "no Debian package"
dpkg-deb --field "$deb" Package | grep -qx redhollow || fail "the package is not named redhollow"
dpkg-deb -x "$deb" "$workdir/unpacked"
start_game "$workdir/unpacked/usr/games/redhollow" "$workdir/elsewhere"
players_art_kept
end_game
# The package's own resarc changes the player's art again, and the packaged game shows it.
cp "$output/title.png" "$output/title_players_first_art.png"
change_title_art "$workdir/unpacked/usr/games/resarc" -fill "#c02020" -colorize 40%
start_game "$workdir/unpacked/usr/games/redhollow" "$workdir/elsewhere"
players_art_kept
differs title_players_first_art title "1024x768+0+0" ||
  fail "the title screen does not show the art packed with the package's resarc"
load_first_saved_game
end_game
echo "install end-to-end: ok"
