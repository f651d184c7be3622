#!/usr/bin/env bash
# Sets everything up, builds the fuzz configuration (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) into build/fuzz and runs
# each fuzz target for RUNS executions (10,000,000 unless given), one target
# after the other, or only the target named as the argument. Each target
# keeps its working corpus in build/fuzz/corpus/<name>, read together with
# the seeds of tests/fuzz/corpus/<name> (which stay as they are); its log goes
# to build/fuzz/logs/<name>.log and an input that breaks a property to
# build/fuzz/artifacts/. Prints the executions and seconds of each target.
# Exits non-zero when a target finds a fault.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

runs="${RUNS:-10000000}"
only="${1:-}"

"$TARNWELL_ROOT/scripts/setup.sh" || exit 1
say "building the fuzz configuration"
CC=clang CXX=clang++ build_configuration fuzz -DTARNWELL_FUZZ=ON -DTARNWELL_TESTS=OFF >/dev/null || exit 1

build="$TARNWELL_ROOT/build/fuzz"
list="$build/tests/fuzz/fuzzers.txt"
if [ -n "$only" ] && ! grep -q "^$only " "$list"; then
  echo "no fuzz target named '$only'; there are: $(cut -d' ' -f1 "$list" | tr '\n' ' ')" >&2
  exit 1
fi
mkdir -p "$build/corpus" "$build/logs" "$build/artifacts"

failed=0
summaries=()
while read -r name max_len target seeds; do
  [ -z "$only" ] || [ "$name" = "$only" ] || continue
  corpus="$build/corpus/$name"
  log="$build/logs/$name.log"
  mkdir -p "$corpus"
  say "fuzzing $name: $runs executions, inputs up to $max_len bytes (log: $log)"
  start=$(date +%s)
  "$target" -runs="$runs" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name-" "$corpus" "$seeds" </dev/null >"$log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ -z "$executions" ]; then
    # Stopped before its statistics: the last progress line tells how far it got.
    executions=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  fi
  if [ "$status" -eq 0 ]; then
    summaries+=("$name: ${executions:-?} executions in $seconds s, corpus $(find "$corpus" -type f | wc -l) inputs")
  else
    failed=1
    summaries+=("$name: FAULT after ${executions:-?} executions in $seconds s, see $log")
    grep -A12 -E 'property broken|ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error' "$log" \
      | head -40
    grep -E '^(Test unit written to|artifact_prefix)' "$log"
  fi
done <"$list"

say "summary"
printf '%s\n' "${summaries[@]}"
exit "$failed"
