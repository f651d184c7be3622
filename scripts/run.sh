#!/usr/bin/env bash
# Sets everything up, builds tarnwell.exe and starts it under Wine. With no
# display it starts Xvfb, waits for the window, saves a screenshot and prints
# the PNG's path.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

"$TARNWELL_ROOT/scripts/setup.sh"
say "building tarnwell.exe"
build_windows >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  exec "$TARNWELL_ROOT/scripts/screenshot.sh"
fi
ensure_wine_prefix
exec wine "$TARNWELL_ROOT/build/win/ui/tarnwell.exe"
