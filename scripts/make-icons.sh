#!/bin/bash
# Draws the program icons (resources/icons/main.ico, alternate.ico and the rotate_*.ico of the Export dialog) with ImageMagick:
# a disc with coloured sectors, the alternate one turned by 45 degrees so the two
# make a spinning animation. Run by hand after changing the drawing; the .ico files are kept in git.
set -euo pipefail
source "$(dirname "$0")/common.sh"
convert=/usr/bin/convert   # the real ImageMagick, whatever else PATH offers
out=$LUMIVEXA_ROOT/resources/icons
mkdir -p "$out"

disc() {  # size turn-degrees output.png
  local s=$1 turn=$2 c r h
  c=$(echo "$s / 2 - 0.5" | bc -l) r=$(echo "$s * 0.46" | bc -l) h=$(echo "$s * 0.09" | bc -l)
  local sectors=() colours=('#d83a2a' '#f2b632' '#3a9a48' '#2f6fc9') i a0 a1
  for i in 0 1 2 3; do
    a0=$((turn + i * 90)) a1=$((turn + i * 90 + 50))
    sectors+=(-fill "${colours[$i]}" -draw "path 'M $c,$c L $(pt "$c" "$r" $a0) A $r,$r 0 0,1 $(pt "$c" "$r" $a1) Z'")
  done
  "$convert" -size "${s}x${s}" xc:none \
    -fill '#c9ccd6' -stroke '#4a4e5a' -strokewidth 1 -draw "circle $c,$c $c,$(echo "$c - $r" | bc -l)" \
    -stroke none "${sectors[@]}" \
    -fill '#f4f5f8' -draw "circle $c,$c $c,$(echo "$c - $r * 0.34" | bc -l)" \
    -fill none -stroke '#4a4e5a' -draw "circle $c,$c $c,$(echo "$c - $h" | bc -l)" \
    "$3"
}
pt() {  # centre radius degrees -> "x,y"
  echo "$1 + $2 * c($3 * 3.14159265 / 180); $1 + $2 * s($3 * 3.14159265 / 180)" |
    bc -l | xargs printf '%.2f,%.2f'
}

tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
for turn in 0 45; do
  for s in 16 32 48 64; do disc $s $turn "$tmp/$turn-$s.png"; done
done
# 48 and 64 pixels serve 150 % and 200 % display scales.
"$convert" "$tmp"/0-{16,32,48,64}.png "$out/main.ico"
"$convert" "$tmp"/45-{16,32,48,64}.png "$out/alternate.ico"

# The Export dialog's rotation buttons: a small landscape photo (sky, sun, hill)
# as it comes out after each turn.
photo() {  # size output.png
  local s=$1 w h
  w=$((s - 4)) h=$((s * 2 / 3))
  "$convert" -size "${s}x${s}" xc:none \
    -fill '#7fb6e8' -stroke '#30343c' -draw "rectangle 2,$(((s - h) / 2)) $((w + 1)),$(((s + h) / 2 - 1))" \
    -stroke none -fill '#f2c232' -draw "circle $((s / 4)),$((s / 2 - h / 5)) $((s / 4 + s / 10)),$((s / 2 - h / 5))" \
    -fill '#3a8a44' -draw "polygon 3,$(((s + h) / 2 - 2)) $((s / 2)),$((s / 2)) $w,$(((s + h) / 2 - 2))" \
    "$2"
}
for s in 16 32 48 64; do
  photo $s "$tmp/photo-$s.png"
  for turn in 0 -90 90 180; do "$convert" "$tmp/photo-$s.png" -rotate $turn "$tmp/turn$turn-$s.png"; done
done
"$convert" "$tmp"/turn0-{16,32,48,64}.png "$out/rotate_none.ico"
"$convert" "$tmp"/turn-90-{16,32,48,64}.png "$out/rotate_left.ico"
"$convert" "$tmp"/turn90-{16,32,48,64}.png "$out/rotate_right.ico"
"$convert" "$tmp"/turn180-{16,32,48,64}.png "$out/rotate_180.ico"
ls -l "$out"
