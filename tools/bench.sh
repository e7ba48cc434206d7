#!/usr/bin/env bash
# The tool's figures in one table, each the median of several runs:
#  - connect and auto-read cycle, measured over what the step machine must
#    spend, against the simulator answering at once over a pseudo-terminal;
#  - CPU of the idle open window over 60 s;
#  - memory (RSS) of tamsel and tamsel-cli on the demo transmitter;
#  - time until the window is shown (under Xvfb);
#  - the suite's run time.
#   tools/bench.sh [BUILD] [RUNS]   (default: build 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-3}
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
row() { printf '| %-44s | %12s |\n' "$1" "$2"; }

connect=$(tools/measure-connect.sh "$build" $((runs * 5)) | sed -n 's/.*ratio \([0-9.]*\).*/\1/p')
cycle=$(for _ in $(seq "$runs"); do tools/measure-autoread.sh "$build" 10 | sed -n 's/.*ratio \([0-9.]*\).*/\1/p'; done | median)

idle=$(for _ in $(seq "$runs"); do
  QT_QPA_PLATFORM=offscreen "$build/ui/main/tamsel" --demo >/dev/null 2>&1 &
  pid=$!; pids+=("$pid")
  sleep 2
  before=$(ticks "$pid"); sleep 60; after=$(ticks "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.3f\n", 100 * t / hz / 60 }'
done | median)

rss_window=$(for _ in $(seq "$runs"); do
  QT_QPA_PLATFORM=offscreen "$build/ui/main/tamsel" --demo >/dev/null 2>&1 &
  pid=$!; pids+=("$pid")
  sleep 3; rss_kb "$pid"; kill "$pid"; wait "$pid" 2>/dev/null || true
done | median)

printf 'click Search Com\nclick Open Com\nclick HART Communication\nwait 10000\nsleep 3000\n' >"$work/idle.script"
rss_cli=$(for _ in $(seq "$runs"); do
  "$build/ui/cli/tamsel-cli" --demo "$work/idle.script" >/dev/null 2>&1 &
  pid=$!; pids+=("$pid")
  sleep 3; rss_kb "$pid"; kill "$pid"; wait "$pid" 2>/dev/null || true
done | median)

shown=$(for _ in $(seq "$runs"); do
  xvfb-run -a bash -c '
    start=$(date +%s%N)
    "$1/ui/main/tamsel" --demo >/dev/null 2>&1 &
    pid=$!
    until xwininfo -name "Dravel HART Communication Tool (Ver1.0)" 2>/dev/null | grep -q "Map State: IsViewable"; do
      sleep 0.005
    done
    echo $(( ($(date +%s%N) - start) / 1000000 ))
    kill $pid' _ "$build"
done | median)

suite=$(for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j2 >/dev/null)
  echo $(( ($(date +%s%N) - start) / 1000000000 ))
done | median)

printf '| %-44s | %12s |\n|%s|%s|\n' "figure (median of $runs runs)" "value" "$(printf -- '-%.0s' {1..46})" "$(printf -- '-%.0s' {1..14})"
row "connect: measured / mandated 440 ms" "$connect"
row "auto-read cycle: measured / mandated 290 ms" "$cycle"
row "CPU of the idle open window over 60 s (%)" "$idle"
row "RSS of tamsel with its window (MB)" "$(awk -v k="$rss_window" 'BEGIN { printf "%.1f", k / 1024 }')"
row "RSS of tamsel-cli (MB)" "$(awk -v k="$rss_cli" 'BEGIN { printf "%.1f", k / 1024 }')"
row "time until the window is shown (ms)" "$shown"
row "the suite's run time (s)" "$suite"
