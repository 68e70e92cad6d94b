#!/usr/bin/env bash
# Makes the Windows program's pictures from the shared ones: the program icon as one .ico (16 to 256
# pixels, from the icon theme's PNGs) and the three title-strip buttons as 24-bit Windows bitmaps,
# which the resource script embeds in chimewick.exe. Run it again after changing a picture and commit
# the results, so that building needs no picture tools.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make-win32-resources: ImageMagick (convert) is needed" >&2; exit 1; }

icons=../../resources/icons
convert "$icons/chimewick-16.png" "$icons/chimewick-24.png" "$icons/chimewick-32.png" \
  "$icons/chimewick-48.png" "$icons/chimewick-64.png" "$icons/chimewick-256.png" chimewick.ico
for picture in settings minimise close; do
  convert "../../resources/$picture.png" -alpha off -type TrueColor BMP3:"$picture.bmp"
done
