#!/bin/bash
# Draws the program's bitmaps with ImageMagick into resources/bitmaps:
#   toolbar.bmp   40 toolbar images of 16 x 16 in one strip (light grey shows as button face);
#                 toolbar24.bmp and toolbar32.bmp the same drawings at 150 % and 200 %
#   about.bmp     the about box picture
#   pos0..8.bmp   the nine print position pictures, row-major
# Run by hand after changing a drawing; the .bmp files are kept in git.
set -euo pipefail
source "$(dirname "$0")/common.sh"
convert=/usr/bin/convert   # the real ImageMagick, whatever else PATH offers
out=$LUMIVEXA_ROOT/resources/bitmaps
mkdir -p "$out"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

# Colours carry their own quotes: the drawings pass through eval.
face="'#c0c0c0'" ink="'#000000'" dark="'#404040'" white="'#ffffff'" blue="'#0030a0'" sky="'#3878d8'"
red="'#c01818'" green="'#188030'" yellow="'#f0c020'" paper="'#ffffff'" 

# Common pieces, each a list of -draw arguments for a 16 x 16 tile.
page() { echo "-fill $paper -stroke $ink -draw 'rectangle $1,$2 $3,$4'"; }
monitor() {  # screen with a picture on it
  echo "-fill $dark -stroke $ink -draw 'rectangle 1,1 14,11' -fill $sky -stroke none -draw 'rectangle 3,3 12,9'" \
       "-fill $green -draw 'polygon 3,9 7,5 10,8 12,6 12,9' -fill $ink -draw 'rectangle 5,12 10,12' -draw 'rectangle 3,13 12,14'"
}
arrow_left()  { echo "-fill $blue -stroke none -draw 'polygon $1,8 $(($1+5)),3 $(($1+5)),13'"; }
arrow_right() { echo "-fill $blue -stroke none -draw 'polygon $1,8 $(($1-5)),3 $(($1-5)),13'"; }
lens() {  # magnifier; $1 = sign drawn inside ("" / minus / plus)
  local s="-fill $white -stroke $ink -draw 'circle 6,6 6,1' -stroke $dark -strokewidth 2 -draw 'line 10,10 14,14' -strokewidth 1"
  case $1 in
    minus) s+=" -stroke $ink -draw 'line 4,6 8,6'" ;;
    plus) s+=" -stroke $ink -draw 'line 4,6 8,6' -draw 'line 6,4 6,8'" ;;
  esac
  echo "$s"
}
turn() {  # curved arrow; $1 = left or right
  if [ "$1" = left ]; then
    echo "-fill none -stroke $blue -strokewidth 2 -draw 'arc 3,4 13,14 200,360' -strokewidth 1 -fill $blue -stroke none -draw 'polygon 1,6 7,6 4,10'"
  else
    echo "-fill none -stroke $blue -strokewidth 2 -draw 'arc 3,4 13,14 180,340' -strokewidth 1 -fill $blue -stroke none -draw 'polygon 9,6 15,6 12,10'"
  fi
}
# Text does not follow -affine: its point size grows with the tile.
text_glyph() { echo "-fill $1 -stroke none -font DejaVu-Sans-Bold -pointsize $(($2 * ${size:-16} / 16)) -gravity center -annotate +0+0 '$3' -gravity northwest"; }

# One drawing per toolbar image, by index.
glyph() {
  case $1 in
    0) echo "-fill $yellow -stroke $ink -draw 'polygon 1,4 6,4 7,6 14,6 14,13 1,13'" ;;              # open folder
    1) echo "-fill $blue -stroke $ink -draw 'rectangle 2,2 13,13' -fill $white -draw 'rectangle 4,2 11,7' -fill $face -draw 'rectangle 5,10 10,13'" ;;  # save
    2) echo "$(page 2 1 13 14) -stroke $ink -draw 'line 4,4 6,4' -draw 'line 8,4 11,4' -draw 'line 4,7 6,7' -draw 'line 8,7 11,7' -draw 'line 4,10 6,10' -draw 'line 8,10 11,10' -fill $red -stroke none -draw 'rectangle 4,3 5,5' -draw 'rectangle 9,6 10,8' -draw 'rectangle 5,9 6,11'" ;;  # options: sliders
    3) echo "-fill $paper -stroke $ink -draw 'rectangle 4,1 11,6' -fill $face -draw 'rectangle 1,6 14,11' -fill $paper -draw 'rectangle 4,10 11,14' -fill $green -stroke none -draw 'point 12,8'" ;;  # print
    4) arrow_left 3 ;;                                                                                     # previous
    5) arrow_right 12 ;;                                                                                   # next
    6) echo "-fill $yellow -stroke $ink -draw 'circle 7,7 7,0' $(text_glyph $blue 12 '?')" ;;            # help
    7) echo "$(page 1 1 9 10) $(page 6 5 14 14) -stroke $dark -draw 'line 8,8 12,8' -draw 'line 8,10 12,10' -draw 'line 8,12 11,12'" ;;  # copy
    8) echo "-fill $blue -stroke none -draw 'rectangle 2,3 3,13' $(arrow_left 5)" ;;                     # first
    9) echo "-fill $blue -stroke none -draw 'rectangle 12,3 13,13' $(arrow_right 10)" ;;                 # last
    10) echo "-fill $white -stroke $ink -draw 'ellipse 7,8 7,4 0,360' -fill $sky -draw 'circle 7,8 7,5' -fill $ink -stroke none -draw 'circle 7,8 7,7'" ;;  # view: eye
    11) lens minus ;;                                                                                      # reduce
    12) lens plus ;;                                                                                       # enlarge
    13) turn left ;;                                                                                       # rotate left
    14) turn right ;;                                                                                      # rotate right
    15) echo "-fill $sky -stroke $ink -draw 'rectangle 1,2 14,13' -stroke $white -draw 'line 3,4 6,4' -draw 'line 3,4 3,7' -draw 'line 12,11 9,11' -draw 'line 12,11 12,8'" ;;  # fit to screen
    16) echo "-fill $ink -stroke $ink -draw 'rectangle 0,1 15,14' -fill $sky -stroke none -draw 'rectangle 2,3 13,12' -fill $green -draw 'polygon 2,12 7,6 11,10 13,8 13,12'" ;;  # full screen
    17) echo "$(text_glyph $ink 6 '1/16')" ;;
    18) echo "$(text_glyph $ink 9 '1/4')" ;;
    19) echo "$(text_glyph $ink 11 '1')" ;;
    20) echo "$(text_glyph $ink 11 '4')" ;;
    21) echo "$(text_glyph $ink 10 '16')" ;;
    22) echo "-fill $white -stroke $ink -draw 'rectangle 1,1 14,10' -fill $green -stroke none -draw 'polygon 6,3 6,9 11,6' -stroke $ink -draw 'line 7,11 4,15' -draw 'line 8,11 11,15'" ;;  # slide show
    23) echo "-fill $red -stroke $ink -draw 'rectangle 3,3 12,12'" ;;                                    # stop
    24) echo "-fill $blue -stroke none -draw 'rectangle 3,3 6,12' -draw 'rectangle 9,3 12,12'" ;;       # pause
    25) echo "-fill $sky -stroke $ink -draw 'rectangle 1,1 6,6' -draw 'rectangle 9,1 14,6' -draw 'rectangle 1,9 6,14' -draw 'rectangle 9,9 14,14'" ;;  # select all
    26) echo "-stroke $red -strokewidth 2 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12'" ;;             # close
    27) echo "-fill none -stroke $ink -draw 'circle 4,12 4,10' -draw 'circle 11,12 11,10' -draw 'line 5,10 11,1' -draw 'line 10,10 4,1'" ;;  # cut
    28) echo "-fill $yellow -stroke $ink -draw 'rectangle 2,2 11,14' $(page 7 6 14 15)" ;;               # paste
    29) echo "$(page 3 1 12 14) -stroke $red -strokewidth 2 -draw 'line 5,5 10,10' -draw 'line 10,5 5,10'" ;;  # delete
    30) monitor ;;                                                                                         # set wallpaper
    31) echo "$(monitor) -stroke $yellow -draw 'line 7,3 7,9' -draw 'line 3,6 12,6'" ;;                   # tiled wallpaper
    32) echo "-fill $dark -stroke $ink -draw 'rectangle 1,1 14,11' -fill $sky -stroke none -draw 'rectangle 3,3 12,9' -fill $ink -draw 'rectangle 5,12 10,12' -draw 'rectangle 3,13 12,14' -stroke $red -strokewidth 2 -draw 'line 4,3 11,9' -draw 'line 11,3 4,9'" ;;  # remove wallpaper
    33) echo "$(page 1 1 10 14) -stroke $dark -draw 'line 3,4 8,4' -draw 'line 3,6 8,6' -fill $green -stroke none -draw 'polygon 15,9 10,4 10,7 6,7 6,11 10,11 10,14'" ;;  # export
    34) echo "$(page 2 1 13 14) $(text_glyph $blue 11 'i')" ;;                                            # properties
    35) echo "-fill $sky -stroke $ink -draw 'circle 7,7 7,0' $(text_glyph $white 11 'i')" ;;             # about
    36) echo "-fill '#c9ccd6' -stroke $dark -draw 'circle 7,7 7,0' -fill $red -stroke none -draw 'polygon 7,7 7,1 12,3' -fill $blue -draw 'polygon 7,7 13,7 12,11' -fill $white -stroke $dark -draw 'circle 7,7 7,5'" ;;  # disc
    37) echo "-fill $sky -stroke $ink -draw 'rectangle 1,3 14,12' -fill $green -stroke none -draw 'polygon 2,12 6,7 9,10 11,8 14,12' -fill $yellow -draw 'circle 11,5 11,4'" ;;  # photo
    38) echo "-fill $white -stroke $ink -draw 'rectangle 1,1 14,14' -stroke $blue -draw 'line 3,8 12,8' -draw 'line 3,8 6,5' -draw 'line 3,8 6,11' -draw 'line 12,8 9,5' -draw 'line 12,8 9,11'" ;;  # actual size
    39) echo "-fill $yellow -stroke $ink -draw 'rectangle 2,4 13,12' -fill $red -stroke none -draw 'circle 7,8 7,6'" ;;  # record / misc
  esac
}

# The 16-pixel drawings scaled as vectors (-affine) for larger display scales.
for size in 16 24 32; do
  scale=$(echo "scale=2; $size / 16" | bc)
  for i in $(seq 0 39); do
    eval "\"$convert\" -size ${size}x$size xc:$face +antialias -affine $scale,0,0,$scale,0,0 $(glyph "$i") \"$tmp/t$(printf %02d "$i").png\""
  done
  name=toolbar$size.bmp
  [ $size = 16 ] && name=toolbar.bmp
  "$convert" "$tmp"/t*.png +append -type truecolor "BMP3:$out/$name"
done

# About picture: a disc over a landscape photo, 96 x 64.
"$convert" -size 96x64 gradient:'#5a8ee0-#c8dcf4' \
  -fill '#f4d040' -stroke none -draw 'circle 74,16 74,8' \
  -fill '#3d7a3c' -draw 'polygon 0,64 0,42 18,30 34,40 52,26 70,38 96,30 96,64' \
  -fill '#2d5c2d' -draw 'polygon 0,64 0,52 30,44 60,54 96,46 96,64' \
  -fill '#c9ccd6' -stroke '#4a4e5a' -draw 'circle 26,34 26,12' -stroke none \
  -fill '#d83a2a' -draw 'path "M 26,34 L 26,13 A 21,21 0 0,1 44,24 Z"' \
  -fill '#f2b632' -draw 'path "M 26,34 L 47,34 A 21,21 0 0,1 36,52 Z"' \
  -fill '#3a9a48' -draw 'path "M 26,34 L 26,55 A 21,21 0 0,1 8,45 Z"' \
  -fill '#2f6fc9' -draw 'path "M 26,34 L 5,34 A 21,21 0 0,1 15,16 Z"' \
  -fill '#f4f5f8' -stroke '#4a4e5a' -draw 'circle 26,34 26,28' \
  -type truecolor "BMP3:$out/about.bmp"

# Print position pictures: a page with the picture block at one of nine places.
for i in $(seq 0 8); do
  col=$((i % 3)) row=$((i / 3))
  x=$((3 + col * 5)) y=$((3 + row * 5))
  "$convert" -size 20x20 xc:'#c0c0c0' +antialias \
    -fill white -stroke black -draw 'rectangle 1,1 18,18' \
    -fill '#0030a0' -stroke none -draw "rectangle $x,$y $((x + 3)),$((y + 3))" \
    -type truecolor "BMP3:$out/pos$i.bmp"
done
ls -l "$out"
