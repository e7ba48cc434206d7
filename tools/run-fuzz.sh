#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build (TAMSEL_FUZZ=ON) for SECONDS each
# (and at most RUNS executions, when given), from its seeds, the corpus that
# earlier runs grew and the inputs of tests/fuzz/regressions/, and prints
# executions and findings per target. A finding fails the run; its input is
# kept in BUILD/fuzz/findings/. With "replay" for SECONDS each target runs its
# seeds and regression inputs once each, and nothing else.
# Usage: tools/run-fuzz.sh BUILD SECONDS|replay [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 seconds=$2 runs=${3:--1}
work=$build/fuzz
mkdir -p "$work/findings" "$work/seeds/receive_path" "$work/seeds/script"
"$build/tests/fuzz/make_fuzz_seeds" "$work/seeds/receive_path"
cp "$root"/tests/e2e/*.script "$work/seeds/script/"
declare -A seeds=([receive_path]=$work/seeds/receive_path [script]=$work/seeds/script
  [input]=$root/tests/fuzz/seeds/input [frame_hunter]=$root/tests/fuzz/seeds/frame_hunter
  [hartip_reader]=$root/tests/fuzz/seeds/hartip_reader)

failed=0
printf '%-13s %11s %8s %7s  %s\n' target executions seconds exec/s findings
limits=(-max_total_time="$seconds" -runs="$runs")
[ "$seconds" = replay ] && limits=(-runs=0)
for name in receive_path script input frame_hunter hartip_reader; do
  dirs=("${seeds[$name]}")
  if [ "$seconds" != replay ]; then
    mkdir -p "$work/corpus/$name"
    dirs=("$work/corpus/$name" "${dirs[@]}")
  fi
  [ -d "$root/tests/fuzz/regressions/$name" ] && dirs+=("$root/tests/fuzz/regressions/$name")
  log=$work/$name.log
  start=$SECONDS
  finding=none
  if ! "$build/tests/fuzz/${name}_fuzz" "${limits[@]}" -max_len=4096 -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$work/findings/$name-" "${dirs[@]}" >"$log" 2>&1; then
    failed=1
    finding=$(grep -m1 -o 'Test unit written to .*' "$log" || echo "see $log")
    grep -E '^(==[0-9]+==ERROR|SUMMARY)|runtime error' "$log" | head -5 >&2 || true
  fi
  printf '%-13s %11s %8s %7s  %s\n' "$name" "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" \
    $((SECONDS - start)) "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")" "$finding"
done
exit $failed
