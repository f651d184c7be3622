#!/usr/bin/env bash
# Renders the progress window of a long copy over the main window under Xvfb
# to a PNG. The scene program built beside the tests
# (tests/win/probe/progress_scene.cpp) opens the real main window from a
# program folder of its own in the run's Wine prefix, searches a folder of
# three large raw photos (sparse files), ticks them and copies them, slowly,
# into another folder; this script captures the window while the copy runs
# and prints the PNG's path.
# Usage: scripts/screenshot-progress.sh [output.png]   (build first: scripts/test.sh does)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

output="${1:-$TARNWELL_ROOT/build/screenshot-progress.png}"
scene="$TARNWELL_ROOT/build/win/tests/progress_scene.exe"
[ -f "$scene" ] || { echo "no $scene: build the Windows tests first" >&2; exit 1; }

saved_display="${DISPLAY:-}"
unset DISPLAY
start_wine_session
trap stop_wine_session EXIT

# C:\拍摄 with three photos of 1 GB each that take no room, C:\交付 to copy
# them into, and the program in C:\Tarnwell.
drive_c="$TARNWELL_RUN_PREFIX/drive_c"
mkdir -p "$drive_c/拍摄" "$drive_c/交付" "$drive_c/Tarnwell"
for name in IMG_0012.CR3 IMG_0013.CR3 IMG_0014.CR3; do
  truncate -s 1G "$drive_c/拍摄/$name"
done
cp "$scene" "$drive_c/Tarnwell/tarnwell.exe"

wine 'C:\Tarnwell\tarnwell.exe' 'C:\拍摄' 'C:\交付' >/dev/null 2>&1 &
program=$!

window=$(wait_for_window '^Tarnwell$' 'main window')
sleep 12  # the search, then the copy well under way
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"

kill "$program" 2>/dev/null || true
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
echo "$output"
