#!/usr/bin/env bash
# Sets everything up, builds the Release configurations, writes the synthetic
# benchmark trees once into the cache folder and runs the benchmarks: the
# search natively (engine with 1, 2, 4 and 8 listing threads and the default,
# floor, naive walk, fd, find), the same natively from a cold page cache (as
# root; the table says why when it cannot be done), natively on slow storage
# (a smaller tree behind the project's FUSE file system, whose every open,
# listing and lookup waits 0.2, 1 or 5 ms, as a share's round trip does;
# skipped with a line where FUSE cannot be mounted), the search under Wine,
# the result list in the real window under Wine, and the thumbnail window's
# pictures under Wine. Prints the tables and keeps them in
# build/bench-results.txt. Figures, never pass/fail.
#
# TARNWELL_BENCH_SIZE=quick uses a tree of 1,000 folders and 20,000 files and
# fewer rounds (a few minutes); the default is 10,000 folders and 200,000
# files, and 2,000 folders and 40,000 files on slow storage.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

"$TARNWELL_ROOT/scripts/setup.sh"
if ! command -v fdfind >/dev/null && ! command -v fd >/dev/null; then
  say "installing fd-find"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends fd-find
fi
# libfuse3 for the slow-storage case's file system (the bench alone needs it).
if ! pkg-config --exists fuse3 2>/dev/null || ! command -v fusermount3 >/dev/null; then
  say "installing libfuse3"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends libfuse3-dev fuse3 pkg-config
fi

case "${TARNWELL_BENCH_SIZE:-default}" in
  quick)
    folders=1000 files=20000 native_rounds=3 cold_rounds=1 wine_rounds=2 naive_sample=200 list_rounds=2
    slow_folders=1000 slow_files=20000 slow_rounds=1 picture_rounds=1 copy_rounds=1 copy_large_mb=50 ;;
  *)
    folders=10000 files=200000 native_rounds=5 cold_rounds=3 wine_rounds=3 naive_sample=1000 list_rounds=3
    slow_folders=2000 slow_files=40000 slow_rounds=3 picture_rounds=2 copy_rounds=5 copy_large_mb=500 ;;
esac
seed=1

say "building the Release configurations"
build_configuration bench-native -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF >/dev/null
build_configuration bench-win -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$TARNWELL_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
native="$TARNWELL_ROOT/build/bench-native/bench"
windows="$TARNWELL_ROOT/build/bench-win/bench"

cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell/bench"
# Writes the tree of $1 folders and $2 files once; prints its path.
ensure_tree() {
  local tree="$cache/tree-$1-$2-$seed"
  if [ ! -f "$tree.complete" ]; then
    say "writing the benchmark tree ($1 folders, $2 files) to $tree (once)" >&2
    rm -rf "$tree"
    mkdir -p "$cache"
    "$native/make_tree" "$tree" "$1" "$2" "$seed" >/dev/null
    touch "$tree.complete"
  fi
  printf '%s' "$tree"
}
tree=$(ensure_tree "$folders" "$files")
slow_tree=$(ensure_tree "$slow_folders" "$slow_files")
# Under Wine the same tree is reached through drive Z:.
wine_tree="Z:$(printf '%s' "$tree" | tr '/' '\\')"

# The picture benchmark's pictures, made once with ImageMagick and exiftool:
# a 24-megapixel photo-like JPEG with and without an EXIF thumbnail, and the
# preview and thumbnail that the benchmark wraps in raw files of its own.
pictures="$cache/pictures-6000x4000-1"
if [ ! -f "$pictures/complete" ]; then
  say "making the benchmark's pictures in $pictures (once)"
  rm -rf "$pictures"
  mkdir -p "$pictures"
  convert -seed 1 -size 1500x1000 plasma:fractal -blur 0x1 -resize '6000x4000!' -attenuate 0.2 +noise Gaussian \
    -quality 92 "$pictures/plain.jpg"
  convert "$pictures/plain.jpg" -resize '1620x1080!' -quality 90 "$pictures/preview.jpg"
  convert "$pictures/plain.jpg" -resize '160x120!' -quality 85 "$pictures/thumbnail.jpg"
  cp "$pictures/plain.jpg" "$pictures/big.jpg"
  exiftool -q -overwrite_original "-ThumbnailImage<=$pictures/thumbnail.jpg" -Model='Canon EOS R5' \
    -DateTimeOriginal='2024:05:06 07:08:09' "$pictures/big.jpg"
  touch "$pictures/complete"
fi
wine_pictures="Z:$(printf '%s' "$pictures" | tr '/' '\\')"

results="$TARNWELL_ROOT/build/bench-results.txt"
: >"$results"
shape=(--folders "$folders" --files "$files" --seed "$seed")

# Runs one benchmark and appends its table to the results, but only when the
# program ran to its end: a table cut short (the program died, its Wine
# server was ended) fails the script instead of being kept as a result.
run_benchmark() {
  local output status=0
  output=$(mktemp)
  "$@" | tr -d '\r' | tee "$output" || status=$?
  if [ "$status" -ne 0 ] || [ "$(tail -1 "$output")" != "-- run complete --" ]; then
    rm -f "$output"
    echo "bench: '$1' ended before its end (exit status $status); its table is not kept" >&2
    exit 1
  fi
  sed '$d' "$output" >>"$results"
  rm -f "$output"
}

# The slow-storage file system of one case: mounted on a folder of its own,
# ended and unmounted however the script ends.
SLOW_PID="" SLOW_MOUNT=""
mount_slow_share() {
  SLOW_MOUNT=$(mktemp -d "${TMPDIR:-/tmp}/tarnwell-share.XXXXXX") || return 1
  "$native/slow_share" "$1" "$SLOW_MOUNT" "$2" &
  SLOW_PID=$!
  local i
  for i in $(seq 1 100); do
    mountpoint -q "$SLOW_MOUNT" && return 0
    kill -0 "$SLOW_PID" 2>/dev/null || break
    sleep 0.1
  done
  unmount_slow_share
  return 1
}
unmount_slow_share() {
  if [ -n "$SLOW_PID" ]; then
    kill "$SLOW_PID" 2>/dev/null || true
    wait "$SLOW_PID" 2>/dev/null || true
    SLOW_PID=""
  fi
  if [ -n "$SLOW_MOUNT" ]; then
    if mountpoint -q "$SLOW_MOUNT"; then
      fusermount3 -u "$SLOW_MOUNT" 2>/dev/null || as_root umount -l "$SLOW_MOUNT" || true
    fi
    rmdir "$SLOW_MOUNT" 2>/dev/null || true
    SLOW_MOUNT=""
  fi
}
# A run ended at once with every process of it (SIGKILL to its process
# group) leaves its mount without a file system behind it: such mounts are
# let go, and nothing that still answers, which may be another run's.
unmount_dead_slow_shares() {
  local mount
  awk '$1 == "slow_share" { print $2 }' /proc/mounts | while read -r mount; do
    if ! stat "$mount" >/dev/null 2>&1; then
      fusermount3 -u "$mount" 2>/dev/null || as_root umount -l "$mount" || true
      rmdir "$mount" 2>/dev/null || true
    fi
  done
}
finish() {
  unmount_slow_share
  stop_wine_session
}
trap finish EXIT
trap 'exit 130' INT TERM

say "search, native ($native_rounds rounds)"
run_benchmark "$native/search_bench" "$tree" "${shape[@]}" --rounds "$native_rounds" --naive-sample "$naive_sample"
# Cold: every run reads the tree from the disk; the naive walk would take
# minutes there and is left out.
say "search, native, cold page cache ($cold_rounds rounds)"
run_benchmark "$native/search_bench" "$tree" --cold "${shape[@]}" --rounds "$cold_rounds" --engine-k 1,100,10000 --kept-k 0 \
  --naive-k ""

# Slow storage: the one-thread walk is the measure (the floor and the other
# tools are left out), with every thread count up to 32 and the default.
say "search, native, slow storage ($slow_rounds rounds for each wait)"
unmount_dead_slow_shares
if [ ! -x "$native/slow_share" ]; then
  printf '\nslow storage: skipped: the benchmark was built without libfuse3\n' | tee -a "$results"
else
  for wait_us in 200 1000 5000; do
    if ! mount_slow_share "$slow_tree" "$wait_us"; then
      printf '\nslow storage: skipped: FUSE could not be mounted here\n' | tee -a "$results"
      break
    fi
    run_benchmark "$native/search_bench" "$SLOW_MOUNT" --folders "$slow_folders" --files "$slow_files" --seed "$seed" \
      --rounds "$slow_rounds" --threads 1,2,4,8,16,32 --engine-k 100 --naive-k "" --numbers-k 0 --kept-k 0 \
      --floor 0 --tools 0 --fuzzy 0 \
      --machine "slow storage: every open, listing and lookup waits $(awk "BEGIN { print $wait_us / 1000 }") ms (FUSE)"
    unmount_slow_share
  done
fi

start_wine_session
say "search, Windows build under Wine ($wine_rounds rounds)"
run_benchmark wine "$windows/search_bench.exe" "$wine_tree" "${shape[@]}" --rounds "$wine_rounds" \
  --engine-k 1,100,10000 --naive-sample "$naive_sample" </dev/null
say "result list in the main window, under Wine ($list_rounds rounds)"
run_benchmark wine "$windows/list_bench.exe" --rounds "$list_rounds" </dev/null
say "pictures of the thumbnail window, under Wine ($picture_rounds rounds)"
run_benchmark wine "$windows/picture_bench.exe" "$wine_pictures" --rounds "$picture_rounds" </dev/null
say "copying with the batch beside a plain loop of copies, under Wine ($copy_rounds rounds)"
# In memory where there is room (/dev/shm through Wine's drive Z:): the disk's
# write-back and journal would drown what the batch adds to each copy.
copy_folder=()
if [ "$(df --output=avail -k /dev/shm 2>/dev/null | tail -1)" -gt $((8 * 1024 * 1024)) ] 2>/dev/null; then
  copy_folder=(--folder 'Z:\dev\shm')
fi
run_benchmark wine "$windows/copy_bench.exe" --rounds "$copy_rounds" --large-mb "$copy_large_mb" "${copy_folder[@]}" \
  </dev/null

say "tables kept in $results"
