#!/usr/bin/env bash
# Draws the title-strip button pictures and the program icon with ImageMagick. The button pictures
# are opaque 24-bit images whose bottom-left pixel holds the key colour (magenta) that the window
# leaves out when it draws them; they are drawn without antialiasing so no blended edge keeps a
# trace of the key colour. Run it again after changing a drawing and commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make-pictures: ImageMagick (convert) is needed" >&2; exit 1; }

KEY='#FF00FF'
INK='#3C4A5C'
RGB=(-define png:color-type=2 -define png:bit-depth=8)

# Settings: a gear, 256 x 256.
teeth=()
for angle in 0 45 90 135 180 225 270 315; do
  teeth+=(-draw "translate 128,128 rotate $angle rectangle -20,-118 20,-70")
done
convert -size 256x256 "xc:$KEY" +antialias -fill "$INK" "${teeth[@]}" \
  -draw "circle 128,128 128,42" -fill "$KEY" -draw "circle 128,128 128,92" \
  "${RGB[@]}" PNG24:settings.png

# Minimise: a bar near the bottom, 128 x 128.
convert -size 128x128 "xc:$KEY" +antialias -fill "$INK" -draw "rectangle 26,82 102,100" \
  "${RGB[@]}" PNG24:minimise.png

# Close: a cross, 220 x 220.
convert -size 220x220 "xc:$KEY" +antialias -stroke '#B03030' -strokewidth 26 \
  -draw "line 52,52 168,168" -draw "line 168,52 52,168" \
  "${RGB[@]}" PNG24:close.png

# Program icon: a clock on a green rounded square, 64 x 64, with alpha.
convert -size 64x64 xc:none -fill '#BAF400' -stroke '#4A6A00' -strokewidth 3 \
  -draw "roundrectangle 2,2 61,61 12,12" -fill white -stroke "$INK" -strokewidth 3 \
  -draw "circle 32,32 32,12" -stroke "$INK" -strokewidth 4 \
  -draw "line 32,32 32,18" -draw "line 32,32 43,38" PNG32:icon.png
