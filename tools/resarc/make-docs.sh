#!/bin/sh
# Redraws the contact sheets and the preview map in docs/ from the archives of a build:
#   tools/resarc/make-docs.sh [BUILD_DIR]     (default: build)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
resarc="$build/tools/resarc/resarc"
docs="$root/docs"
mkdir -p "$docs"
cd "$build"
"$resarc" sheet res00.dat "$docs/res00-sheet.png"
"$resarc" sheet res01.dat "$docs/res01-sheet.png"
"$resarc" sheet --only tiles0,tiles1,tiles2,Animation,MiniMap res02.dat "$docs/res02-sheet-map.png"
"$resarc" sheet --only PTBIBkgnd,PConstBkgnd,PopInfo,CalInfo,TBButtonB,TBButtonI,TBConstB,TBConstI,StType0,StType1,StType2,StType3,StType4,StType5,StType6,StType7,SBDeleteSt,EarthCBkgnd,EarthCImage \
  res02.dat "$docs/res02-sheet-ui.png"
"$resarc" preview-map --archive res02.dat "$docs/preview-map.png"
