# Environment shared by everything that starts Wine for this project (sourced).
# The prefix prepared once per machine; a run of Wine programs started by a
# script (tests, benchmarks, screenshots) works on a private copy of it, with
# a wineserver of its own, named by TARNWELL_RUN_PREFIX.
export TARNWELL_BASE_PREFIX="${TARNWELL_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell/wineprefix}"
export WINEPREFIX="${TARNWELL_RUN_PREFIX:-$TARNWELL_BASE_PREFIX}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
