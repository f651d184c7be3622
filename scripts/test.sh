#!/usr/bin/env bash
# Sets everything up, builds the native, sanitizer, fuzz and Windows
# configurations and runs every test through CTest: the portable core
# natively (and each fuzz target for a short run), the Win32 code under Wine
# (with a non-Chinese locale, and the locale-sensitive tests once more under
# a Chinese one). Exits non-zero on any failure.
#
# --quick: the native and the Wine tests only, without the sanitizer and fuzz
# builds, for the day-to-day loop. The plain command runs everything.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac

"$TARNWELL_ROOT/scripts/setup.sh" || exit 1

say "building the native configuration"
build_configuration native || exit 1
if [ "$quick" -eq 0 ]; then
  say "building the sanitizer configurations"
  build_configuration asan -DTARNWELL_ASAN=ON || exit 1
  build_configuration tsan -DTARNWELL_TSAN=ON || exit 1
  say "building the fuzz configuration"
  CC=clang CXX=clang++ build_configuration fuzz -DTARNWELL_FUZZ=ON -DTARNWELL_TESTS=OFF || exit 1
fi
say "building the Windows configuration"
build_windows || exit 1

failed=0
summaries=()
run_ctest() {
  local title="$1"; shift
  local log
  log=$(mktemp)
  say "tests: $title"
  ctest "$@" --output-on-failure 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
  local line
  line=$(grep -E 'tests passed|tests failed' "$log" | tail -1)
  [ -n "$line" ] || { line="no tests ran"; failed=1; }
  summaries+=("$title: $line")
  rm -f "$log"
}

run_ctest "native" --test-dir "$TARNWELL_ROOT/build/native" -j "$TARNWELL_JOBS"
if [ "$quick" -eq 0 ]; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_ctest "native, AddressSanitizer + UndefinedBehaviorSanitizer" --test-dir "$TARNWELL_ROOT/build/asan" -j "$TARNWELL_JOBS"
  TSAN_OPTIONS=halt_on_error=1 \
    run_ctest "native, ThreadSanitizer" --test-dir "$TARNWELL_ROOT/build/tsan" -j "$TARNWELL_JOBS"
  run_ctest "native, fuzz targets (short runs)" --test-dir "$TARNWELL_ROOT/build/fuzz" -L fuzz -j "$TARNWELL_JOBS"
fi

# Folders for the Wine tests of copy and move targets that refuse files: a
# small file system that fills up, and a read-only one. Mounting needs root
# (or sudo without a password); without it those tests are skipped.
fault_folders=""
prepare_fault_folders() {
  local mounter=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || return 0
    mounter=(sudo -n)
  fi
  fault_folders=$(mktemp -d /tmp/tarnwell-fault.XXXXXX) || return 0
  mkdir -p "$fault_folders/full" "$fault_folders/readonly"
  "${mounter[@]}" mount -t tmpfs -o size=1m tmpfs "$fault_folders/full" 2>/dev/null &&
    export TARNWELL_FULL_DISK_DIR="$fault_folders/full"
  "${mounter[@]}" mount -t tmpfs -o size=64k,ro tmpfs "$fault_folders/readonly" 2>/dev/null &&
    export TARNWELL_READONLY_DIR="$fault_folders/readonly"
}
release_fault_folders() {
  [ -n "$fault_folders" ] || return 0
  local mounter=()
  [ "$(id -u)" -eq 0 ] || mounter=(sudo -n)
  local folder
  for folder in "$fault_folders/full" "$fault_folders/readonly"; do
    mountpoint -q "$folder" && "${mounter[@]}" umount "$folder"
  done
  rm -rf "$fault_folders"
}

prepare_fault_folders
start_wine_session
trap 'stop_wine_session; release_fault_folders' EXIT
LANG=C.UTF-8 LC_ALL=C.UTF-8 run_ctest "Wine, locale C.UTF-8" --test-dir "$TARNWELL_ROOT/build/win"
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 run_ctest "Wine, locale zh_CN.UTF-8" --test-dir "$TARNWELL_ROOT/build/win" -L locale

say "summary"
printf '%s\n' "${summaries[@]}"
# One closing line over all runs: "N passed, N failed".
total=0; failures=0
for summary in "${summaries[@]}"; do
  if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failures=$((failures + BASH_REMATCH[1])); total=$((total + BASH_REMATCH[2]))
  fi
done
echo "$((total - failures)) passed, $failures failed"
exit "$failed"
