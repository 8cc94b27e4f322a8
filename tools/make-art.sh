#!/usr/bin/env bash
# Makes the window's art: the background picture and the 16 x 16 icon.
# The outputs are committed; the build uses those files and never runs this script.
# Needs ImageMagick 6 (`convert`). Deterministic: the same inputs give the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
out=window/res
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Background: a dark slate gradient lit by a soft cloudy texture, with a faint diagonal hatch,
# so the red bold labels stay readable everywhere.
convert -size 576x576 gradient:'#343c4e-#0b0c11' "$tmp/base.png"
convert -size 576x576 -seed 1729 plasma:grey50-grey50 -colorspace Gray -blur 0x10 \
    -auto-level -level 30%,70% "$tmp/cloud.png"
convert "$tmp/base.png" "$tmp/cloud.png" -colorspace sRGB \
    -fx 'u*(0.75+0.5*v.r) + ((i+j)%12==0 ? 0.035 : 0)' \
    -strip -sampling-factor 4:2:0 -quality 90 "$out/background.jpg"

# Icon: a red V on a dark rounded square, 16 x 16 with an 8-bit palette (BMP-style entry).
convert -size 16x16 xc:none -fill '#1b2233' -stroke '#5a6a8a' -draw 'roundrectangle 0,0 15,15 3,3' \
    -stroke '#ff0000' -strokewidth 2 -fill none -draw 'polyline 3,3 8,12 12,3' \
    -background none -alpha remove -alpha off -colors 256 -type Palette BMP3:"$tmp/icon.bmp"
convert "$tmp/icon.bmp" -colors 256 -type Palette "$out/velkin.ico"
