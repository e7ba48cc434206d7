#!/usr/bin/env bash
# Measures the auto-read cycle (one command 1 request to the next) against the
# simulator answering at once over a pseudo-terminal, and divides its mean by
# the time the step machine itself must spend on a cycle.
#
# Mandated: 19 step ticks of 10 ms and two 100 ms quiet times = 290 ms, the
# replies arriving at once. Usage: tools/measure-autoread.sh [BUILD] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-20}
mandated=290

source "$(dirname "$0")/sim-session.sh"
start_sim --immediate --quiet

cat >"$work/autoread.script" <<SCRIPT
click Search Com
click Open Com
click HART Communication
wait 10000
click Auto Read
sleep $((seconds * 1000))
click Stop Read
wait 10000
SCRIPT

TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" --timestamps "$work/autoread.script" >"$work/run.out"
# The command 1 requests: "[t] log: 82B57C01020301004A" and the like.
awk -F'[][]' -v m="$mandated" '/log: 82..........0100/ { t[n++] = $2 }
  END {
    if (n < 3) { print "too few cycles"; exit 1 }
    mean = (t[n - 1] - t[1]) / (n - 2)
    printf "%d cycles; mean cycle %.3f ms; mandated %d ms; ratio %.4f (goal at most 1.02)\n", n - 2, mean, m, mean / m
  }' "$work/run.out"
