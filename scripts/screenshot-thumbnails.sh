#!/usr/bin/env bash
# Renders the thumbnail window (or, with "large", its large view) under
# Xvfb to a PNG. Photos of a shoot are made with ImageMagick (an EXIF
# thumbnail, orientation and camera added with exiftool) in C:\照片 of the
# run's Wine prefix, with a document beside them; the scene program built
# beside the tests (tests/win/probe/thumbnail_scene.cpp) writes raw files
# around two of them, searches, ticks a few rows and opens the window; this
# script captures it and prints the PNG's path.
# Usage: scripts/screenshot-thumbnails.sh [output.png] [large]   (build first: scripts/test.sh does)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

output="${1:-$TARNWELL_ROOT/build/screenshot-thumbnails.png}"
view="${2:-grid}"
scene="$TARNWELL_ROOT/build/win/tests/thumbnail_scene.exe"
[ -f "$scene" ] || { echo "no $scene: build the Windows tests first" >&2; exit 1; }
for tool in convert exiftool; do
  command -v "$tool" >/dev/null || { echo "no $tool: scripts/setup.sh installs it" >&2; exit 1; }
done

saved_display="${DISPLAY:-}"
unset DISPLAY
start_wine_session
trap stop_wine_session EXIT

drive_c="$TARNWELL_RUN_PREFIX/drive_c"
photos="$drive_c/照片"
mkdir -p "$photos/第二机身" "$drive_c/Tarnwell"
# A sky over hills, in four lights; the second body took another IMG_0012.
shot() {
  local name=$1 sky=$2 ground=$3
  shift 3
  convert -size 1200x800 gradient:"$sky"-white \
    -fill "$ground" -draw "ellipse 360,800 660,320 0,360" -draw "ellipse 960,800 540,240 0,360" \
    -fill '#ffdd55' -draw "circle 940,176 1008,176" -quality 88 "$photos/$name"
  convert "$photos/$name" -resize 160x160 -quality 85 "$photos/.thumb.jpg"
  exiftool -q -overwrite_original "-ThumbnailImage<=$photos/.thumb.jpg" -Model='Canon EOS R6' \
    -DateTimeOriginal='2024:05:06 10:21:33' "$@" "$photos/$name" >/dev/null
  rm -f "$photos/.thumb.jpg"
}
shot IMG_0012.jpg '#3a7bd5' '#2e8b57'
shot 第二机身/IMG_0012.jpg '#ff7e5f' '#6b4226'
shot IMG_0013.jpg '#1e3c72' '#556b2f' -Orientation#=6
shot IMG_0014.jpg '#f7971e' '#8b0000'
convert -size 640x427 gradient:'#8e2de2'-'#4a00e0' -quality 88 "$photos/preview.jpg"
convert "$photos/preview.jpg" -resize 160x120 -quality 85 "$photos/thumbnail.jpg"
printf '报价单\r\n' >"$photos/报价单.txt"
cp "$scene" "$drive_c/Tarnwell/tarnwell.exe"

wine 'C:\Tarnwell\tarnwell.exe' 'C:\照片' "$view" >/dev/null 2>&1 &
program=$!

window=$(wait_for_window '^缩略图$' 'thumbnail window')
sleep 4  # the pictures
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"

kill "$program" 2>/dev/null || true
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
echo "$output"
