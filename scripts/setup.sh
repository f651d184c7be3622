#!/usr/bin/env bash
# Installs what building, running and testing Tarnwell needs on Debian 12,
# only what is missing. Run as root or with sudo. Safe to run again.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

packages=(
  cmake make g++ googletest clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils xdotool
  fonts-wqy-microhei fonts-wine imagemagick libimage-exiftool-perl locales
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  say "installing: ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A Chinese locale for the tests that check behaviour under it.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  as_root locale-gen >/dev/null
fi

start_display
ensure_wine_prefix
stop_wine_session
say "set-up complete"
