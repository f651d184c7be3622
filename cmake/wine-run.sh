#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, for CTest and the scripts.
# Reuses the project's Wine prefix and, when there is no display, gives the
# program a private Xvfb server for its lifetime.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
