#!/bin/sh
# Redraws the program's icons with ImageMagick. The images are committed; run this only to change them.
#   program icon: a blue shield with a white V, 16 and 32 pixels in 16 colours, 48 and 128 for desktops
#   about.png:    the shield before a scroll of figures, 38 x 32 in 24-bit colour, for the About window
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 512x512 xc:none \
    -fill '#1d3f8f' -stroke '#e0b000' -strokewidth 40 \
    -draw 'path "M 80,40 L 432,40 L 432,232 Q 432,408 256,488 Q 80,408 80,232 Z"' \
    -fill white -stroke none \
    -draw 'path "M 150,120 L 214,120 L 256,300 L 298,120 L 362,120 L 290,400 L 222,400 Z"' \
    "$tmp/shield.png"
for s in 16 32; do
    convert "$tmp/shield.png" -filter Lanczos -resize ${s}x${s} -background none -colors 16 \
        PNG8:vorn-build-calculator-$s.png
done
for s in 48 128; do
    convert "$tmp/shield.png" -filter Lanczos -resize ${s}x${s} PNG32:vorn-build-calculator-$s.png
done
convert vorn-build-calculator-16.png vorn-build-calculator-32.png vorn-build-calculator.ico

convert -size 760x640 xc:'#ece9e2' \
    -fill '#f3e3b5' -stroke '#8a6a2a' -strokewidth 14 -draw 'rectangle 230,150 700,520' \
    -fill '#e2c98a' -draw 'roundrectangle 200,110 730,170 30,30' -draw 'roundrectangle 200,500 730,560 30,30' \
    -stroke '#7a5a20' -strokewidth 22 \
    -draw 'line 420,250 640,250' -draw 'line 420,330 640,330' -draw 'line 420,410 600,410' \
    -fill '#1d3f8f' -stroke '#e0b000' -strokewidth 30 \
    -draw 'path "M 60,60 L 380,60 L 380,250 Q 380,420 220,500 Q 60,420 60,250 Z"' \
    -fill white -stroke none \
    -draw 'path "M 120,120 L 178,120 L 220,290 L 262,120 L 320,120 L 252,390 L 188,390 Z"' \
    "$tmp/about.png"
convert "$tmp/about.png" -filter Lanczos -resize '38x32!' -type TrueColor PNG24:about.png
