#!/usr/bin/env bash
# Renders the result list's context menu (or, with "names", the names box's)
# under Xvfb to a PNG. The scene
# program built beside the tests (tests/win/probe/list_menu_scene.cpp) opens
# the real main window from a program folder of its own in the run's Wine
# prefix, searches a folder of a few photos for three photo numbers, selects
# the first row and opens the menu as a right click on it does; this script
# captures the window with the open menu and prints the PNG's path.
# Usage: scripts/screenshot-menu.sh [output.png] [names]   (build first: scripts/test.sh does)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

output="${1:-$TARNWELL_ROOT/build/screenshot-menu.png}"
menu="${2:-list}"
scene="$TARNWELL_ROOT/build/win/tests/list_menu_scene.exe"
[ -f "$scene" ] || { echo "no $scene: build the Windows tests first" >&2; exit 1; }

saved_display="${DISPLAY:-}"
unset DISPLAY
start_wine_session
trap stop_wine_session EXIT

# C:\照片 with a few photos (one in a subfolder, one not wanted), and the
# program in C:\Tarnwell.
drive_c="$TARNWELL_RUN_PREFIX/drive_c"
photos="$drive_c/照片"
mkdir -p "$photos/2019" "$drive_c/Tarnwell"
for name in 201905200930150001.jpg 201905200930150002.jpg 2019/201905200930150002.JPG 201905200930150003.png \
            201905200930150009.jpg; do
  printf 'photo' >"$photos/$name"
done
cp "$scene" "$drive_c/Tarnwell/tarnwell.exe"

wine 'C:\Tarnwell\tarnwell.exe' 'C:\照片' "$menu" >/dev/null 2>&1 &
program=$!

window=$(wait_for_window '^Tarnwell$' 'main window')
sleep 3  # the search, the selection and the menu
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"

kill "$program" 2>/dev/null || true
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
echo "$output"
