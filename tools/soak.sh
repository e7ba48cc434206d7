#!/usr/bin/env bash
# Soak: auto read against the simulator for DURATION with 5 % of its replies
# spoiled by a random fault of any kind. Samples the tool's memory (RSS) and
# CPU every period (a minute, or a quarter of a run shorter than four
# minutes) and checks at the end that memory grew by at most 1 MB after the
# first sample and by at most 1 kB per auto-read cycle, that the log never
# held more than 10 entries, and that every message logged is one of the
# window's own.
#   tools/soak.sh [BUILD] [DURATION]   DURATION: 60m (the default), 20s, ...
set -euo pipefail
build=${1:-build}
duration=${2:-60m}
name=soak
source "$(dirname "$0")/soak-common.sh"

faults=$("$build/sim/tamsel-sim" --help | sed -n 's/^  --\([a-z-]*\).*/\1/p' | grep -E '^(no-answer|letter-|lowercase-hex|missing-lf|long-gap|short-count|long-count|status-only|response-code|burst-bit|bad-|other-|burst-before|repeat-late|trailing-bytes)' | sort -u | paste -sd, -)
start_sim --quiet --random-rate 0.05 --random-faults "$faults" --seed 7

{
  printf 'click Search Com\nclick Open Com\nclick HART Communication\nwait 30000\n'
  # A loop that three failures in a row ended is started again each period.
  for _ in $(seq "$samples"); do
    printf 'click Auto Read\nsleep %d\nclick Stop Read\nwait 30000\nshow 1004\n' $((period * 1000))
  done
} >"$work/soak.script"

TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" "$work/soak.script" >"$work/cli.out" 2>&1 &
cli_pid=$!

cycles() { grep -c 'log: 82..........0100' "$work/cli.out" || true; }

printf 'second  rss_kb  cpu_percent\n'
first_rss= first_cycles= last_rss= before=$(ticks "$cli_pid")
for sample in $(seq "$samples"); do
  sleep "$period"
  kill -0 "$cli_pid" 2>/dev/null || { echo "tamsel-cli ended early"; cat "$work/cli.out"; exit 1; }
  now=$(ticks "$cli_pid")
  last_rss=$(rss "$cli_pid")
  [ -n "$first_rss" ] || { first_rss=$last_rss; first_cycles=$(cycles); }
  awk -v s=$((sample * period)) -v r="$last_rss" -v t=$((now - before)) -v hz="$hz" -v p="$period" \
    'BEGIN { printf "%6d  %6d  %11.2f\n", s, r, 100 * t / hz / p }'
  before=$now
done
wait "$cli_pid"
cli_pid=

growth=$((last_rss - first_rss))
total=$(cycles)
measured=$((total - first_cycles))
most=$(sed -n 's/^show 1004:.* most=\([0-9]*\)$/\1/p' "$work/cli.out" | sort -n | tail -n 1)
allowed='^(Not found!|Or polling address is not 0!|Please try <Search Addr>!|Communication Fail|Communication fail!|Unit code not right!|Trans-Func. code not right!|Write Protect code not right!|Alarm code not right!)$'
strange=$(sed -n 's/^log: //p' "$work/cli.out" | grep -v -E '^[0-9A-F]+$' | grep -v -E "$allowed" || true)
failures=$(grep -c '^log: Communication fail!$' "$work/cli.out" || true)
echo "auto-read cycles $total; loops ended by three failures $failures; most log entries $most; RSS growth after the first sample: ${growth} kB over $measured cycles"
status=0
[ "$growth" -le 1024 ] || { echo "FAIL: memory grew by ${growth} kB"; status=1; }
[ "$measured" -gt 0 ] && [ $((growth * 1024 / measured)) -le 1024 ] ||
  { echo "FAIL: memory grew by more than 1 kB a cycle"; status=1; }
[ -n "$most" ] && [ "$most" -le 10 ] || { echo "FAIL: the log held ${most:-?} entries"; status=1; }
[ -z "$strange" ] || { echo "FAIL: messages the window does not have:"; echo "$strange"; status=1; }
[ "$total" -gt $((seconds / 2)) ] || { echo "FAIL: only $total cycles"; status=1; }
exit $status
