#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, for CTest and the scripts.
# Reuses the project's Wine prefix and, when there is no display, gives the
# program a private Xvfb server for its lifetime.
#
# Under load Wine now and then fails to start a process at all: it ends at
# once, with an error status and without a word. A program that ran prints
# something (a test prints its banner first), so such a start is told apart
# and made once more, and said so on stderr; any other outcome stands.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

run() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
  else
    wine "$@"
  fi
}

out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
started=$(date +%s%N)
run "$@" >"$out" 2>"$err"
status=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
if [ "$status" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ] && [ "$elapsed_ms" -lt 2000 ]; then
  echo "wine-run: $1 ended at once (status $status, $elapsed_ms ms) without a word; starting it once more" >&2
  run "$@" >"$out" 2>"$err"
  status=$?
fi
cat "$out"
cat "$err" >&2
exit "$status"
