#!/usr/bin/env bash
# Soak: auto read against the simulator for MINUTES with 5 % of its replies
# spoiled by a random fault of any kind. Samples the tool's memory (RSS) and
# CPU every minute and checks at the end that memory grew by at most 1 MB
# after the first minute, that the log never held more than 10 entries, and
# that every message logged is one of the window's own.
#   tools/soak.sh [BUILD] [MINUTES]   (default: build 60)
set -euo pipefail
build=${1:-build}
minutes=${2:-60}

work=$(mktemp -d)
sim_pid= cli_pid=
cleanup() {
  for p in $cli_pid $sim_pid; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

faults=$("$build/sim/tamsel-sim" --help | sed -n 's/^  --\([a-z-]*\).*/\1/p' | grep -E '^(no-answer|letter-|lowercase-hex|missing-lf|long-gap|short-count|long-count|status-only|response-code|burst-bit|bad-|other-|burst-before|repeat-late|trailing-bytes)' | sort -u | paste -sd, -)
"$build/sim/tamsel-sim" --quiet --random-rate 0.05 --random-faults "$faults" --seed 7 >"$work/sim.out" 2>/dev/null &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
device=$(head -n 1 "$work/sim.out")

{
  printf 'click Search Com\nclick Open Com\nclick HART Communication\nwait 30000\n'
  # A loop that three failures in a row ended is started again each minute.
  for _ in $(seq "$minutes"); do
    printf 'click Auto Read\nsleep 60000\nclick Stop Read\nwait 30000\nshow 1004\n'
  done
} >"$work/soak.script"

TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" "$work/soak.script" >"$work/cli.out" 2>&1 &
cli_pid=$!

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$cli_pid/status"; }
ticks() { awk '{ print $14 + $15 }' "/proc/$cli_pid/stat"; }
hz=$(getconf CLK_TCK)

printf 'minute  rss_kb  cpu_percent\n'
first_rss= last_rss= before=$(ticks)
for minute in $(seq "$minutes"); do
  sleep 60
  kill -0 "$cli_pid" 2>/dev/null || { echo "tamsel-cli ended early"; cat "$work/cli.out"; exit 1; }
  now=$(ticks)
  last_rss=$(rss)
  [ -n "$first_rss" ] || first_rss=$last_rss
  awk -v m="$minute" -v r="$last_rss" -v t=$((now - before)) -v hz="$hz" \
    'BEGIN { printf "%6d  %6d  %11.2f\n", m, r, 100 * t / hz / 60 }'
  before=$now
done
wait "$cli_pid"
cli_pid=

growth=$((last_rss - first_rss))
most=$(sed -n 's/^show 1004:.* most=\([0-9]*\)$/\1/p' "$work/cli.out" | sort -n | tail -n 1)
cycles=$(grep -c 'log: 82..........0100' "$work/cli.out" || true)
allowed='^(Not found!|Or polling address is not 0!|Please try <Search Addr>!|Communication Fail|Communication fail!|Unit code not right!|Trans-Func. code not right!|Write Protect code not right!|Alarm code not right!)$'
strange=$(sed -n 's/^log: //p' "$work/cli.out" | grep -v -E '^[0-9A-F]+$' | grep -v -E "$allowed" || true)
failures=$(grep -c '^log: Communication fail!$' "$work/cli.out" || true)
echo "auto-read cycles $cycles; loops ended by three failures $failures; most log entries $most; RSS growth after minute 1: ${growth} kB"
status=0
[ "$growth" -le 1024 ] || { echo "FAIL: memory grew by ${growth} kB"; status=1; }
[ -n "$most" ] && [ "$most" -le 10 ] || { echo "FAIL: the log held ${most:-?} entries"; status=1; }
[ -z "$strange" ] || { echo "FAIL: messages the window does not have:"; echo "$strange"; status=1; }
[ "$cycles" -gt $((minutes * 30)) ] || { echo "FAIL: only $cycles cycles"; status=1; }
exit $status
