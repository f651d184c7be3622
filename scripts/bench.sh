#!/usr/bin/env bash
# Sets everything up, builds the Release configurations, writes the synthetic
# benchmark tree once into the cache folder and runs the benchmarks: the
# search natively (engine with 1, 2, 4 and 8 listing threads, floor, naive
# walk, fd, find), the same natively from a cold page cache (as root; the
# table says why when it cannot be done), the search under Wine, the result
# list in the real window under Wine, and the thumbnail window's pictures
# under Wine. Prints the tables and keeps them in build/bench-results.txt.
# Figures, never pass/fail.
#
# TARNWELL_BENCH_SIZE=quick uses a tree of 1,000 folders and 20,000 files and
# fewer rounds (a few minutes); the default is 10,000 folders and 200,000 files.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

"$TARNWELL_ROOT/scripts/setup.sh"
if ! command -v fdfind >/dev/null && ! command -v fd >/dev/null; then
  say "installing fd-find"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends fd-find
fi

case "${TARNWELL_BENCH_SIZE:-default}" in
  quick)
    folders=1000 files=20000 native_rounds=3 cold_rounds=1 wine_rounds=2 naive_sample=200 list_rounds=2
    picture_rounds=1 ;;
  *)
    folders=10000 files=200000 native_rounds=5 cold_rounds=3 wine_rounds=3 naive_sample=1000 list_rounds=3
    picture_rounds=2 ;;
esac
seed=1

say "building the Release configurations"
build_configuration bench-native -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF >/dev/null
build_configuration bench-win -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$TARNWELL_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
native="$TARNWELL_ROOT/build/bench-native/bench"
windows="$TARNWELL_ROOT/build/bench-win/bench"

cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell/bench"
tree="$cache/tree-$folders-$files-$seed"
if [ ! -f "$tree.complete" ]; then
  say "writing the benchmark tree ($folders folders, $files files) to $tree (once)"
  rm -rf "$tree"
  mkdir -p "$cache"
  "$native/make_tree" "$tree" "$folders" "$files" "$seed"
  touch "$tree.complete"
fi
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

say "search, native ($native_rounds rounds)"
run_benchmark "$native/search_bench" "$tree" "${shape[@]}" --rounds "$native_rounds" --naive-sample "$naive_sample"
# Cold: every run reads the tree from the disk; the naive walk would take
# minutes there and is left out.
say "search, native, cold page cache ($cold_rounds rounds)"
run_benchmark "$native/search_bench" "$tree" --cold "${shape[@]}" --rounds "$cold_rounds" --engine-k 1,100,10000 --kept-k 0 \
  --naive-k ""

start_wine_session
trap stop_wine_session EXIT
say "search, Windows build under Wine ($wine_rounds rounds)"
run_benchmark wine "$windows/search_bench.exe" "$wine_tree" "${shape[@]}" --rounds "$wine_rounds" \
  --engine-k 1,100,10000 --naive-sample "$naive_sample" </dev/null
say "result list in the main window, under Wine ($list_rounds rounds)"
run_benchmark wine "$windows/list_bench.exe" --rounds "$list_rounds" </dev/null
say "pictures of the thumbnail window, under Wine ($picture_rounds rounds)"
run_benchmark wine "$windows/picture_bench.exe" "$wine_pictures" --rounds "$picture_rounds" </dev/null

say "tables kept in $results"
