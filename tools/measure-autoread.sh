#!/usr/bin/env bash
# Measures the auto-read cycle (one command 1 request to the next) against the
# simulator answering at once over a pseudo-terminal, and divides its mean by
# the time the step machine itself must spend on a cycle.
#
# Mandated: 19 step ticks of 10 ms and two 100 ms quiet times = 290 ms, the
# replies arriving at once. Usage: tools/measure-autoread.sh [BUILD] [SECONDS]
set -euo pipefail
seconds=${2:-20}
mandated=290 goal=1.02
source "$(dirname "$0")/measure-common.sh"

write_script <<SCRIPT
click Search Com
click Open Com
click HART Communication
wait 10000
click Auto Read
sleep $((seconds * 1000))
click Stop Read
wait 10000
SCRIPT

run_script
# The command 1 requests: "[t] log: 82B57C01020301004A" and the like.
cycles=$(awk -F'[][]' '/log: 82..........0100/ { t[n++] = $2 }
  END { if (n >= 3) printf "%.9f %d cycles; mean cycle %.3f ms", (t[n - 1] - t[1]) / (n - 2), n - 2, (t[n - 1] - t[1]) / (n - 2) }' "$work/run.out")
[ -n "$cycles" ] || { echo "too few cycles"; exit 1; }
say_ratio "${cycles%% *}" "${cycles#* }"
