#!/usr/bin/env bash
# The Debian package as Debian would judge it, without root and without touching the machine's
# own root: cpack makes it into a folder of its own; lintian finds no error and no warning; the
# metainfo and the desktop entry validate strictly; the manual pages render without a warning;
# the package holds every file a player and a software centre need, in Debian's places for
# games; and installed into a root of its own with dpkg, removed and installed again, it leaves
# the player's saves, settings and screenshots where they were and finds them again.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package: $*"
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
  fail "cpack failed: $(cat "$work/cpack.log")"
deb="$(ls "$work"/package/redhollow_*.deb 2>/dev/null | head -n 1)"
[[ -n "$deb" ]] || fail "cpack made no package"
version="$(dpkg-deb --field "$deb" Version)"

# Every error and warning counts; overrides in the package say why they are there.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.log")"
if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian reported the lines above"; fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
expected=(
  usr/games/redhollow
  usr/lib/games/redhollow/redhollow
  usr/games/resarc
  usr/share/games/redhollow/res00.dat
  usr/share/games/redhollow/res01.dat
  usr/share/games/redhollow/res02.dat
  usr/share/games/redhollow/Pell.html
  usr/share/man/man6/redhollow.6.gz
  usr/share/man/man1/resarc.1.gz
  usr/share/applications/redhollow.desktop
  usr/share/metainfo/org.example.redhollow.metainfo.xml
  usr/share/doc/redhollow/copyright
  usr/share/doc/redhollow/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/redhollow.png")
done
for file in "${expected[@]}"; do
  [[ -f "$root/$file" ]] || fail "the package has no $file"
done
[[ -n "$(ls -A "$root/usr/share/games/redhollow/manual")" ]] || fail "the package has no manual pictures"
for program in usr/games/redhollow usr/lib/games/redhollow/redhollow usr/games/resarc; do
  [[ -x "$root/$program" ]] || fail "$program is not executable"
done

appstreamcli validate --no-net --strict "$root/usr/share/metainfo/org.example.redhollow.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || fail "the metainfo does not validate: $(cat "$work/appstream.log")"
desktop-file-validate "$root/usr/share/applications/redhollow.desktop" ||
  fail "the desktop entry does not validate"
grep -qx 'Exec=redhollow --window' "$root/usr/share/applications/redhollow.desktop" ||
  fail "the desktop entry has no action to start in a window"

# Rendered the way a reader's man renders them, every groff warning on: not one line on stderr.
for page in "$root"/usr/share/man/man*/*.gz; do
  MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/page.txt" 2>"$work/page.err" ||
    fail "man could not render $(basename "$page")"
  [[ ! -s "$work/page.err" ]] || fail "$(basename "$page") renders with warnings: $(cat "$work/page.err")"
  zcat "$page" | groff -ww -man -Tutf8 -z 2>&1 | { ! grep .; } ||
    fail "groff warns about $(basename "$page")"
  grep -q "Redhollow $version" "$work/page.txt" || fail "$(basename "$page") is not of version $version"
done

# One version everywhere: the package's, the changelog's latest entry and the metainfo's release.
zcat "$root/usr/share/doc/redhollow/changelog.gz" | head -n 1 | grep -q "^redhollow ($version) " ||
  fail "the changelog's latest entry is not version $version"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" \
  "$root/usr/share/metainfo/org.example.redhollow.metainfo.xml" ||
  fail "the metainfo's release is not version $version"

# Installed with dpkg into a root of its own, started, removed and installed again. The
# player's folder and the settings live in the player's home, which removing leaves alone.
system="$work/system"
mkdir -p "$system/var/lib/dpkg/info" "$system/var/lib/dpkg/updates"
touch "$system/var/lib/dpkg/status"
dpkg_here() {
  PATH="/usr/sbin:/sbin:$PATH" dpkg --root="$system" --force-not-root --force-depends --force-script-chrootless \
    --log=/dev/null "$@" >>"$work/dpkg.log" 2>&1 || fail "dpkg $*: $(cat "$work/dpkg.log")"
}
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_PICTURES_DIR="$work/home/pictures"
unset XDG_DATA_HOME
player="$HOME/.local/share/redhollow"
start() {
  env -u DISPLAY -u WAYLAND_DISPLAY "$system/usr/games/redhollow" --version >"$work/out" 2>&1 ||
    fail "the installed game did not start: $(cat "$work/out")"
  [[ -e "$player/res02.dat" && -L "$player/res02.dat" ]] || fail "the player's folder has no archives"
}
dpkg_here --install "$deb"
start
mkdir -p "$player/SAVES" "$XDG_CONFIG_HOME/redhollow" "$XDG_PICTURES_DIR/Redhollow"
echo colony >"$player/SAVES/kept.sav"
echo "sound-effects = off" >"$XDG_CONFIG_HOME/redhollow/settings.ini"
echo picture >"$XDG_PICTURES_DIR/Redhollow/redhollow-2026-12-08-19-30-05.png"
dpkg_here --remove redhollow
[[ ! -e "$system/usr/games/redhollow" && ! -e "$system/usr/share/games/redhollow/res02.dat" ]] ||
  fail "removing the package left the game"
for kept in "$player/SAVES/kept.sav" "$XDG_CONFIG_HOME/redhollow/settings.ini" \
  "$XDG_PICTURES_DIR/Redhollow/redhollow-2026-12-08-19-30-05.png"; do
  [[ -f "$kept" ]] || fail "removing the package took $kept"
done
dpkg_here --install "$deb"
start
[[ "$(cat "$player/SAVES/kept.sav")" == colony ]] || fail "the game installed again lost the save"
echo "package: ok ($(basename "$deb"), $(find "$root" -type f | wc -l) files)"
