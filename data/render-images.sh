#!/usr/bin/env bash
# Renders Tavrel.jpg (the picture under the input rows, at twice the 461 x 561 it is shown at, so that it stays sharp on scaled displays) and stet.png (128 x 128 icon) from Tavrel.svg and stet.svg,
# and the icon at the other sizes that desktops look up, stet-48.png and stet-256.png.
# The program reads Tavrel.jpg and stet.png from its working directory; copy them next to the executable after rendering.
# Debian tools only (librsvg2-bin, netpbm, libjpeg-turbo-progs, fonts-dejavu-core); same tool versions give identical bytes.
set -euo pipefail

cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"

# Install missing tools (Debian).
. ../scripts/lib.sh
install_missing librsvg2-bin netpbm libjpeg-turbo-progs fonts-dejavu-core

# Fixed environment so that text and numbers render the same way every time.
export LC_ALL=C.UTF-8
export SOURCE_DATE_EPOCH=0

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Picture: SVG -> opaque PNG on white -> baseline JPEG (integer DCT, optimised Huffman tables, no comments or EXIF).
# Colour at half the resolution of brightness, as in most JPEGs: the edges stay as sharp, since
# they are edges in brightness, and the program decodes it in about half the time.
rsvg-convert --format=png --width=922 --height=1122 --background-color=white \
    --output="$tmp/Tavrel.png" Tavrel.svg
pngtopnm -mix -background=white "$tmp/Tavrel.png" > "$tmp/Tavrel.ppm"
cjpeg -quality 92 -optimize -dct int -sample 2x2 -outfile "$tmp/Tavrel.jpg" "$tmp/Tavrel.ppm"
mv -f "$tmp/Tavrel.jpg" Tavrel.jpg

# Icon: SVG -> 128 x 128 RGBA PNG (cairo writes no time stamp or text chunks).
rsvg-convert --format=png --width=128 --height=128 --output="$tmp/stet.png" stet.svg
mv -f "$tmp/stet.png" stet.png
for size in 48 256; do
    rsvg-convert --format=png --width=$size --height=$size --output="$tmp/stet-$size.png" stet.svg
    mv -f "$tmp/stet-$size.png" "stet-$size.png"
done

chmod 644 Tavrel.jpg stet.png stet-48.png stet-256.png
echo "Wrote $(pwd)/Tavrel.jpg, $(pwd)/stet.png, stet-48.png and stet-256.png"
