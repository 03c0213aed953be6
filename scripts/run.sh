#!/bin/bash
# Builds LumivexaSE.exe (and the sample disc when its tool exists) and runs it under Wine
# with D: on build/sample-disc. With DISPLAY set the program runs on that display until
# it is closed. Without one it runs for LUMIVEXA_RUN_SECONDS (default 3) on a virtual
# display, and a screenshot goes to build/screenshots/run.png.
#   --view   opens the first photo in a viewer once the thumbnails are there (Enter on
#            the focused thumbnail); the screenshot then shows the viewer.
#   --image  opens the sample disc's raw image (build/sample-disc.cue) instead of drive D:.
set -euo pipefail
source "$(dirname "$0")/common.sh"
view=false
image=false
for arg in "$@"; do
  case "$arg" in
    --view) view=true ;;
    --image) image=true ;;
    *) die "usage: scripts/run.sh [--view] [--image]" ;;
  esac
done
"$LUMIVEXA_ROOT/scripts/setup.sh"
"$LUMIVEXA_ROOT/scripts/build-mingw-exif.sh" i686
lumivexa_build_sample_disc
lumivexa_build win32 LumivexaSE

source "$LUMIVEXA_ROOT/scripts/wine-env.sh"
trap lumivexa_wine_stop EXIT
trap 'exit 130' INT TERM
exe=$LUMIVEXA_ROOT/build/win32/bin/LumivexaSE.exe
headless=false
[ -n "${DISPLAY:-}" ] || headless=true
lumivexa_wine_start
args=()
if $image; then args=("$("$LUMIVEXA_WINE" winepath -w "$LUMIVEXA_ROOT/build/sample-disc.cue" 2>/dev/null)"); fi

# Presses Enter on the browse window (its focused thumbnail) once the disc is read.
open_viewer() {
  sleep "${LUMIVEXA_VIEW_DELAY:-3}"
  xdotool mousemove 5 5 key Return
}

if ! $headless; then
  if $view; then open_viewer & fi
  "$LUMIVEXA_WINE" "$exe" "${args[@]}"
  exit
fi

shots=$LUMIVEXA_ROOT/build/screenshots
mkdir -p "$shots"
"$LUMIVEXA_WINE" "$exe" "${args[@]}" >"$shots/run.log" 2>&1 &
for ((i = 0; i < 400; i++)); do   # up to 20 s for the frame window to appear
  xwininfo -root -tree | grep -q '"Lumivexa SE"' && break
  sleep 0.05
done
xwininfo -root -tree | grep -q '"Lumivexa SE"' || die "no Lumivexa SE window appeared (see $shots/run.log)"
if $view; then open_viewer; fi
sleep "${LUMIVEXA_RUN_SECONDS:-3}"
# /usr/bin/convert: the real ImageMagick, whatever else PATH offers.
xwd -root -silent | /usr/bin/convert xwd:- "$shots/run.png"
echo "$shots/run.png"
