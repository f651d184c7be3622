#!/usr/bin/env bash
# Makes the pictures the Wine tests of the thumbnails read, on the build
# machine, with ImageMagick and exiftool: solid colours, so that a test
# tells by a picture's colour whether it came from the file or from its
# embedded thumbnail. Writes them into the folder given, and "made" last.
#   photo.jpg  1600 x 1200 blue, an EXIF thumbnail of 160 x 120 red,
#              orientation 6, camera model and time taken
#   plain.jpg  1600 x 1200 blue, no EXIF
#   preview.jpg 640 x 427 blue and thumbnail.jpg 160 x 120 red, which the
#              tests wrap in raw containers of their own
#   picture.png (green, its right half transparent), picture.gif (yellow),
#   picture.bmp (cyan), picture.tif (magenta)
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f made
convert -size 1600x1200 xc:'#0000ff' -quality 90 plain.jpg
convert -size 1600x1200 xc:'#0000ff' -quality 90 photo.jpg
convert -size 160x120 xc:'#ff0000' -quality 90 thumbnail.jpg
convert -size 640x427 xc:'#0000ff' -quality 90 preview.jpg
exiftool -q -overwrite_original '-ThumbnailImage<=thumbnail.jpg' -Orientation#=6 -Model='Tarnwell Test Camera' \
  -DateTimeOriginal='2024:05:06 07:08:09' photo.jpg
convert -size 400x300 xc:'#00ff00' \( -size 200x300 xc:none \) -geometry +200+0 -compose copy -composite png32:picture.png
convert -size 400x300 xc:'#ffff00' picture.gif
convert -size 400x300 xc:'#00ffff' bmp3:picture.bmp
convert -size 400x300 xc:'#ff00ff' -compress none picture.tif
printf 'no picture\r\n' > notes.txt
touch made
