#!/usr/bin/env bash
# Makes the small picture files the loader tests decode. The contents are drawn here, not taken from
# anywhere: four coloured quadrants, so that a turned or mirrored picture is told apart at a glance.
# Needs cjpeg (libjpeg-turbo-progs), ImageMagick's convert and exiftool. Run from any folder.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 48 x 32: red top left, green top right, blue bottom left, white bottom right.
convert -size 48x32 xc:white \
  -fill '#FF0000' -draw 'rectangle 0,0 23,15' \
  -fill '#00FF00' -draw 'rectangle 24,0 47,15' \
  -fill '#0000FF' -draw 'rectangle 0,16 23,31' \
  -depth 8 "$tmp/quadrants.ppm"
convert -size 64x48 gradient:'#202020-#E0E0E0' -depth 8 "$tmp/gradient.ppm"

cjpeg -quality 95 -sample 1x1 "$tmp/quadrants.ppm" > quadrants.jpg
cp quadrants.jpg portrait_orientation6.jpg
exiftool -q -overwrite_original -n -Orientation=6 portrait_orientation6.jpg

cjpeg -quality 95 -progressive "$tmp/gradient.ppm" > progressive.jpg
cjpeg -quality 95 -grayscale "$tmp/gradient.ppm" > grey.jpg
convert "$tmp/quadrants.ppm" -colorspace CMYK -quality 95 cmyk.jpg

# A valid 16 x 16 picture whose frame header is rewritten to claim 60000 x 60000 pixels.
convert -size 16x16 xc:'#808080' -depth 8 "$tmp/small.ppm"
cjpeg -quality 90 "$tmp/small.ppm" > "$tmp/small.jpg"
python3 - "$tmp/small.jpg" claims_60000x60000.jpg <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
at = data.index(b'\xff\xc0')
data[at + 5:at + 9] = (60000).to_bytes(2, 'big') * 2
open(sys.argv[2], 'wb').write(data)
PY

# The same small picture, progressive, rewritten to claim 3000 x 3000: far too little data for that size.
cjpeg -quality 90 -progressive "$tmp/small.ppm" > "$tmp/small_progressive.jpg"
python3 - "$tmp/small_progressive.jpg" claims_3000x3000_progressive.jpg <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
at = data.index(b'\xff\xc2')
data[at + 5:at + 9] = (3000).to_bytes(2, 'big') * 2
open(sys.argv[2], 'wb').write(data)
PY
cjpeg -quality 95 -sample 1x1 -arithmetic "$tmp/quadrants.ppm" > arithmetic.jpg

# Cut inside the frame's tables; halfway through the coded data; just before the end of a progressive file,
# where the header alone cannot tell (the decoder must refuse it).
head -c 100 progressive.jpg > truncated_header.jpg
head -c $(( $(stat -c %s quadrants.jpg) / 2 )) quadrants.jpg > truncated.jpg
head -c $(( $(stat -c %s progressive.jpg) - 60 )) progressive.jpg > truncated_progressive.jpg

convert "$tmp/quadrants.ppm" -sample 40x30! -type Palette -compress RLE BMP3:palette_rle8.bmp
convert "$tmp/quadrants.ppm" -type Palette -compress None BMP3:palette_4bit.bmp
