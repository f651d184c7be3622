# Shared helpers of the project's scripts (sourced, not run).
# shellcheck shell=bash

TARNWELL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=../cmake/wine-env.sh
. "$TARNWELL_ROOT/cmake/wine-env.sh"

TARNWELL_JOBS="${TARNWELL_JOBS:-2}"

say() { printf '== %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Configures (once) and builds one configuration into build/<name>.
build_configuration() {
  local name="$1"; shift
  local dir="$TARNWELL_ROOT/build/$name"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$TARNWELL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$TARNWELL_JOBS"
}

build_windows() {
  build_configuration win -DCMAKE_TOOLCHAIN_FILE="$TARNWELL_ROOT/cmake/mingw-w64-x86_64.cmake"
}

# Creates the Wine prefix once per machine. Drive Z: (the whole Linux file
# system) is marked as a network drive, so that a whole-computer search walks
# the prefix's own drive C: and never the host's file system. Wine draws the
# window frames itself, so that screenshots show them without a window manager.
# The fonts that the default GUI font falls back on for Chinese (SimSun and
# the like) are not there: SimSun is replaced by the Chinese font installed.
TARNWELL_PREFIX_VERSION=3
ensure_wine_prefix() (
  export WINEPREFIX="$TARNWELL_BASE_PREFIX"
  stamp="$WINEPREFIX/.tarnwell-ready"
  [ "$(cat "$stamp" 2>/dev/null)" = "$TARNWELL_PREFIX_VERSION" ] && exit 0
  say "preparing the Wine prefix in $WINEPREFIX (once per machine)"
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wine reg add 'HKLM\Software\Wine\Drives' /v 'z:' /d network /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  # This prefix's own server only, which nothing else uses while it is prepared.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  echo "$TARNWELL_PREFIX_VERSION" >"$stamp"
)

TARNWELL_XVFB_PID=""

# Starts Xvfb when there is no display. Sets DISPLAY.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    TARNWELL_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# One display and one wineserver for a whole run of Wine programs, both the
# run's own: the prepared prefix is copied into a private folder, whose
# wineserver no other run shares, so that ending this run (or another one)
# never ends somebody else's programs. The Wine services are started here
# with their output going nowhere, so they never hold the pipes of a later
# caller (CTest) open.
TARNWELL_RUN_DIR=""
start_wine_session() {
  start_display || return 1
  ensure_wine_prefix
  TARNWELL_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tarnwell-wine.XXXXXX") || return 1
  cp -a "$TARNWELL_BASE_PREFIX" "$TARNWELL_RUN_DIR/prefix" || return 1
  export TARNWELL_RUN_PREFIX="$TARNWELL_RUN_DIR/prefix"
  export WINEPREFIX="$TARNWELL_RUN_PREFIX"
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Ends what start_wine_session started, and nothing else.
stop_wine_session() {
  if [ -n "$TARNWELL_RUN_DIR" ]; then
    WINEPREFIX="$TARNWELL_RUN_PREFIX" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$TARNWELL_RUN_PREFIX" wineserver -w >/dev/null 2>&1 || true
    rm -rf "$TARNWELL_RUN_DIR"
    TARNWELL_RUN_DIR=""
    unset TARNWELL_RUN_PREFIX
    export WINEPREFIX="$TARNWELL_BASE_PREFIX"
  fi
  if [ -n "$TARNWELL_XVFB_PID" ]; then
    kill "$TARNWELL_XVFB_PID" 2>/dev/null || true
    wait "$TARNWELL_XVFB_PID" 2>/dev/null || true
    TARNWELL_XVFB_PID=""
  fi
}

# Waits up to 30 s for a window whose title matches the regular expression
# $1 and prints its X id; says so, naming it $2, and fails when none came.
wait_for_window() {
  local title="$1" what="$2" window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --name "$title" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the $what did not appear" >&2; return 1; }
  printf '%s\n' "$window"
}
