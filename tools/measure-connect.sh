#!/usr/bin/env bash
# Measures the wall time of a full "HART Communication" connect (commands 0,
# 14 and 15) against the simulator answering at once over a pseudo-terminal,
# and divides it by the delays the step machine itself must spend on it.
#
# Mandated: 14 step ticks of 10 ms and, per reply, the 100 ms quiet time:
# 14 * 10 + 3 * 100 = 440 ms. Usage: tools/measure-connect.sh [BUILD] [RUNS]
set -euo pipefail
runs=${2:-20}
mandated=440 goal=1.05
source "$(dirname "$0")/measure-common.sh"

write_script <<'SCRIPT'
click Search Com
click Open Com
sleep 200
show 1003
click HART Communication
wait 10000
show 1112
SCRIPT

printf 'run  connect_ms  ratio\n'
for run in $(seq "$runs"); do
  run_script
  grep -q 'show 1112: text="Fenmarks"' "$work/run.out" || { echo "connect failed:"; cat "$work/run.out"; exit 1; }
  ms=$(awk -F'[][]' '/show 1003:/ {t0=$2} /show 1112:/ {print $2 - t0}' "$work/run.out")
  awk -v r="$run" -v ms="$ms" -v m="$mandated" 'BEGIN { printf "%3d  %10.3f  %.4f\n", r, ms, ms / m }'
  echo "$ms" >>"$work/times"
done
median=$(median <"$work/times")
say_ratio "$median" "$(awk -v md="$median" '{ t += $1 } END { printf "mean %.3f ms, median %.3f ms over %d runs", t / NR, md, NR }' "$work/times")"
