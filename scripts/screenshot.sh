#!/usr/bin/env bash
# Starts tarnwell.exe under Xvfb, waits for its main window, writes a PNG of
# the window and closes the program. Prints the PNG's path.
# Usage: scripts/screenshot.sh [output.png]   (build first: scripts/run.sh does)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

output="${1:-$TARNWELL_ROOT/build/screenshot.png}"
exe="$TARNWELL_ROOT/build/win/ui/tarnwell.exe"
[ -f "$exe" ] || { echo "no $exe: build it first (scripts/run.sh)" >&2; exit 1; }

saved_display="${DISPLAY:-}"
unset DISPLAY
start_wine_session
trap stop_wine_session EXIT

wine "$exe" >/dev/null 2>&1 &
program=$!

window=$(wait_for_window '^Tarnwell$' 'main window')
sleep 1.5  # let the window paint itself

mkdir -p "$(dirname "$output")"
import -window root -crop "$(xdotool getwindowgeometry --shell "$window" | awk -F= '
  /^WIDTH/ {w=$2} /^HEIGHT/ {h=$2} /^X/ {x=$2} /^Y/ {y=$2}
  END {printf "%dx%d+%d+%d", w, h, x, y}')" +repage "$output"

xdotool key --window "$window" Escape >/dev/null 2>&1 || true
for _ in $(seq 1 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill "$program" 2>/dev/null || true
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
echo "$output"
