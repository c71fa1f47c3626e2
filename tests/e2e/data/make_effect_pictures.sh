#!/usr/bin/env bash
# Makes the pictures of the colour-effect end-to-end checks, one picture per folder so that a show of that
# folder shows only it: colour, grey and CMYK JPEGs, a 24-bit BMP of odd width, and a JPEG larger than the
# 1024 x 768 test screen (scaled down when shown). Colourful content, so that a picture that kept its own
# colours cannot pass for sepia or monochrome.
set -euo pipefail
out=${1:?output folder}
stamp="$out/.made-by-$(sha1sum "$0" | cut -c1-12)"
[ -f "$stamp" ] && exit 0

# An older set goes: only the folders and the stamp made here, inside the output folder itself, never
# through a link.
if [ -L "$out" ]; then echo "refusing to write through the link $out" >&2; exit 1; fi
mkdir -p "$out"
real=$(realpath -e "$out")
rm -rf --one-file-system -- "$real"/{colour,grey,cmyk,oddbmp,large}
rm -f -- "$real"/.made-by-*
mkdir -p "$out"/{colour,grey,cmyk,oddbmp,large}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A hue sweep across, a brightness sweep down: every pixel's red, green and blue differ.
colourful() {  # width height file
  convert -size "$2x$1" gradient:red-blue -rotate 90 \( -size "$1x$2" gradient:white-black \) \
          -compose multiply -composite -modulate 100,180 \
          \( -size "$1x$2" plasma:fractal -seed 7 \) -compose blend -define compose:args=35 -composite \
          -depth 8 -type TrueColor "$3"
}

colourful 641 479 "$tmp/colour.ppm"
cjpeg -quality 92 -outfile "$out/colour/colour.jpg" "$tmp/colour.ppm"

colourful 517 389 "$tmp/grey-src.ppm"
cjpeg -grayscale -quality 92 -outfile "$out/grey/grey.jpg" "$tmp/grey-src.ppm"

colourful 499 373 "$tmp/cmyk-src.ppm"
convert "$tmp/cmyk-src.ppm" -colorspace CMYK -quality 92 "$out/cmyk/cmyk.jpg"

colourful 333 211 "$tmp/odd.ppm"
convert "$tmp/odd.ppm" -type TrueColor BMP3:"$out/oddbmp/odd.bmp"

colourful 2049 1201 "$tmp/large.ppm"
cjpeg -progressive -quality 90 -outfile "$out/large/large.jpg" "$tmp/large.ppm"

touch "$stamp"
