#!/bin/sh
# Redraws the program's icons from the master drawing, vorn-build-calculator.svg (a blue shield with a
# gold rim and a white V). The images are committed, so that the build needs no image tools; run this
# only to change them:
#   hicolor/NxN.png               the desktop's icons, 16 to 256 pixels, rendered by rsvg-convert
#   vorn-build-calculator.ico     the Windows icon: 16, 32, 48 and 256 pixels, from those
#   web/                          the web page's icons for an installed app: 192 and 512 pixels, and a
#                                 maskable 512 whose shield keeps inside the circle every mask leaves
#                                 (the middle 80 %), on a white square the platform may cut to any shape
#   vorn-build-calculator-16/-32  the window's icons, in 16 colours, drawn by ImageMagick from the
#                                 master's shield and V
#   about.png                     the About window's picture, the shield before a scroll of figures,
#                                 38 x 32 in 24-bit colour, a drawing of its own
# Needs rsvg-convert (librsvg2-bin), icotool (icoutils) and ImageMagick's convert. The PNGs are written
# without a time stamp, so that redrawing an unchanged picture changes no file; the shell_icons test
# renders the master again and compares.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
master=vorn-build-calculator.svg

mkdir -p hicolor
for s in 16 32 48 128 256; do
    rsvg-convert --width $s --height $s $master -o hicolor/${s}x${s}.png
done
mkdir -p web
for s in 192 512; do
    rsvg-convert --width $s --height $s $master -o web/vorn-build-calculator-$s.png
done
rsvg-convert --width 308 --height 308 --page-width 512 --page-height 512 --left 102 --top 102 \
    --background-color '#ffffff' $master -o web/vorn-build-calculator-maskable.png
# The 256-pixel image is kept as PNG inside the icon, as Windows expects of that size.
icotool --create --output vorn-build-calculator.ico \
    hicolor/16x16.png hicolor/32x32.png hicolor/48x48.png --raw=hicolor/256x256.png

# attr ID NAME: the attribute NAME of the master's element ID.
attr() { sed -n "s/.*id=\"$1\".* $2=\"\([^\"]*\)\".*/\1/p" $master; }
stamp="-define png:exclude-chunks=date,time"
convert -size 512x512 xc:none \
    -fill "$(attr shield fill)" -stroke "$(attr shield stroke)" -strokewidth "$(attr shield stroke-width)" \
    -draw "path '$(attr shield d)'" \
    -fill "$(attr v fill)" -stroke none \
    -draw "path '$(attr v d)'" \
    "$tmp/shield.png"
for s in 16 32; do
    convert "$tmp/shield.png" -filter Lanczos -resize ${s}x${s} -background none -colors 16 \
        $stamp PNG8:vorn-build-calculator-$s.png
done

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
convert "$tmp/about.png" -filter Lanczos -resize '38x32!' -type TrueColor $stamp PNG24:about.png
