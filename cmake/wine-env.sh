# Environment shared by everything that starts Wine for this project (sourced).
export WINEPREFIX="${TARNWELL_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
