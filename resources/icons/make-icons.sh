#!/usr/bin/env bash
# Draws the program icon for the desktop's icon theme (hicolor) at the usual sizes: the same clock on a
# green rounded square as resources/icon.png, drawn once at 256 x 256 and scaled down. chimewick.svg is
# the same drawing for themes that take scalable icons. Run it again after changing the drawing and
# commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make-icons: ImageMagick (convert) is needed" >&2; exit 1; }

INK='#3C4A5C'
convert -size 256x256 xc:none -fill '#BAF400' -stroke '#4A6A00' -strokewidth 12 \
  -draw "roundrectangle 8,8 247,247 48,48" -fill white -stroke "$INK" -strokewidth 12 \
  -draw "circle 128,128 128,48" -stroke "$INK" -strokewidth 16 -draw "stroke-linecap round line 128,128 128,72" \
  -draw "stroke-linecap round line 128,128 172,152" -strip PNG32:chimewick-256.png
for size in 16 24 32 48 64 128; do
  convert chimewick-256.png -filter Lanczos -resize "${size}x${size}" -strip PNG32:"chimewick-$size.png"
done
