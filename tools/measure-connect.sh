#!/usr/bin/env bash
# Measures the wall time of a full "HART Communication" connect (commands 0,
# 14 and 15) against the simulator answering at once over a pseudo-terminal,
# and divides it by the delays the step machine itself must spend on it.
#
# Mandated: 14 step ticks of 10 ms and, per reply, the 100 ms quiet time:
# 14 * 10 + 3 * 100 = 440 ms. Usage: tools/measure-connect.sh [BUILD] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
mandated=440

source "$(dirname "$0")/sim-session.sh"
start_sim --immediate --quiet

cat >"$work/connect.script" <<'SCRIPT'
click Search Com
click Open Com
sleep 200
show 1003
click HART Communication
wait 10000
show 1112
SCRIPT

printf 'run  connect_ms  ratio\n'
total=0
for run in $(seq "$runs"); do
  TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" --timestamps "$work/connect.script" >"$work/run.out"
  grep -q 'show 1112: text="Fenmarks"' "$work/run.out" || { echo "connect failed:"; cat "$work/run.out"; exit 1; }
  ms=$(awk -F'[][]' '/show 1003:/ {t0=$2} /show 1112:/ {print $2 - t0}' "$work/run.out")
  awk -v r="$run" -v ms="$ms" -v m="$mandated" 'BEGIN { printf "%3d  %10.3f  %.4f\n", r, ms, ms / m }'
  total=$(awk -v a="$total" -v b="$ms" 'BEGIN { print a + b }')
  echo "$ms" >>"$work/times"
done
median=$(sort -n "$work/times" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
awk -v t="$total" -v n="$runs" -v m="$mandated" -v md="$median" 'BEGIN {
  printf "mean %.3f ms, median %.3f ms over %d runs; mandated %d ms; ratio %.4f (goal at most 1.05)\n", t / n, md, n, m, md / m }'
