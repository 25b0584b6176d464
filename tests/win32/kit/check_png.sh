#!/bin/sh
# check_png.sh FILE.png: a PNG of 600 x 440 pixels, valid by pngfix (libpng,
# independent of the platform encoder that wrote it) and under 100 KB.
set -u
file=$1
[ -f "$file" ] || { echo "no file $file"; exit 1; }
if ! pngfix --quiet "$file"; then
    echo "pngfix finds $file damaged (status $?)"
    exit 1
fi
bytes=$(wc -c <"$file")
# IHDR's width and height, big-endian, at bytes 16 to 23.
size=$(od -An -tx1 -j16 -N8 "$file" | tr -d ' \n')
echo "$file: $bytes bytes, IHDR $size"
[ "$size" = "00000258000001b8" ] || { echo "not 600 x 440"; exit 1; }
[ "$bytes" -lt 102400 ] || { echo "$bytes bytes: not under 100 KB"; exit 1; }
