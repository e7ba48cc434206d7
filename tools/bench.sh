#!/usr/bin/env bash
# The tool's figures in one table, each the median of several runs:
#  - connect and auto-read cycle, measured over what the step machine must
#    spend, against the simulator answering at once over a pseudo-terminal;
#  - CPU of the idle open window over 60 s;
#  - memory (RSS) of tamsel and tamsel-cli on the demo transmitter;
#  - time until the window is shown (under Xvfb);
#  - the cost of one sample in the open trend window after a simulated day
#    of auto read over its cost at the start (tests/bench/TrendCost.cpp);
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

# Each program's standard error goes to a file of its own under $work; a run
# whose program ended before the bench stopped it fails the bench with it.
errfile() { mktemp "$work/$1.XXXXXX.err"; }
status_text() { if (($1 > 128)); then echo "signal SIG$(kill -l $(($1 - 128)))"; else echo "exit status $1"; fi; }
failed() {  # WHAT STATUS ERRFILE
  { echo "bench: $1 failed ($(status_text "$2")); its standard error:"; cat "$3"; } >&2
}
# Stops a program the bench started; one that had ended before, or did not
# end on SIGTERM (killed by it, or 143 from tamsel-cli's own handling), fails.
stop() {  # PID WHAT ERRFILE
  local status=0 sent=0
  kill "$1" 2>/dev/null && sent=1
  wait "$1" 2>/dev/null || status=$?
  ((sent && status == 143)) && return 0
  failed "$2$( ((sent)) || echo ', ended before it was stopped,')" "$status" "$3"
  return 1
}

connect=$(tools/measure-connect.sh "$build" $((runs * 5)) | sed -n 's/.*ratio \([0-9.]*\).*/\1/p')
cycle=$(for _ in $(seq "$runs"); do tools/measure-autoread.sh "$build" 10 | sed -n 's/.*ratio \([0-9.]*\).*/\1/p'; done | median)

idle=$(for _ in $(seq "$runs"); do
  err=$(errfile idle)
  QT_QPA_PLATFORM=offscreen "$build/ui/main/tamsel" --demo >/dev/null 2>"$err" &
  pid=$!; pids+=("$pid")
  sleep 2
  before=$(ticks "$pid" 2>/dev/null) || true; sleep 60; after=$(ticks "$pid" 2>/dev/null) || true
  stop "$pid" "tamsel (idle window)" "$err" || exit 1
  awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.3f\n", 100 * t / hz / 60 }'
done | median)

rss_window=$(for _ in $(seq "$runs"); do
  err=$(errfile rss-window)
  QT_QPA_PLATFORM=offscreen "$build/ui/main/tamsel" --demo >/dev/null 2>"$err" &
  pid=$!; pids+=("$pid")
  sleep 3; rss=$(rss_kb "$pid" 2>/dev/null) || true
  stop "$pid" "tamsel (memory)" "$err" || exit 1
  echo "$rss"
done | median)

printf 'click Search Com\nclick Open Com\nclick HART Communication\nwait 10000\nsleep 3000\n' >"$work/idle.script"
rss_cli=$(for _ in $(seq "$runs"); do
  err=$(errfile rss-cli)
  "$build/ui/cli/tamsel-cli" --demo "$work/idle.script" >/dev/null 2>"$err" &
  pid=$!; pids+=("$pid")
  sleep 3; rss=$(rss_kb "$pid" 2>/dev/null) || true
  stop "$pid" "tamsel-cli (memory)" "$err" || exit 1
  echo "$rss"
done | median)

# -noreset: by default the X server resets when its last client leaves, and
# drops a connection still being set up; the polling xwininfo leaving just as
# tamsel connects then cost tamsel its display (Qt aborts on that).
shown=$(for _ in $(seq "$runs"); do
  err=$(errfile shown)
  status=0
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
    start=$(date +%s%N)
    "$1/ui/main/tamsel" --demo >/dev/null 2>"$2" &
    pid=$!
    until xwininfo -name "Dravel HART Communication Tool (Ver1.0)" 2>/dev/null | grep -q "Map State: IsViewable"; do
      # A window that cannot come any more: the program ended, or 10 s passed.
      if ! kill -0 $pid 2>/dev/null; then
        wait $pid && { echo "bench: tamsel ended with exit status 0" >>"$2"; exit 1; }
        exit $?
      fi
      if (( $(date +%s%N) - start > 10000000000 )); then
        echo "bench: no window within 10 s" >>"$2"
        kill $pid; wait $pid; exit $?
      fi
      sleep 0.005
    done
    echo $(( ($(date +%s%N) - start) / 1000000 ))
    kill $pid' _ "$build" "$err" || status=$?
  if ((status != 0)); then
    failed "tamsel (time until the window is shown)" "$status" "$err"
    exit 1
  fi
done | median)

trend=$(for _ in $(seq "$runs"); do
  QT_QPA_PLATFORM=offscreen "$build/tests/bench/trend_cost" 24 2>/dev/null | sed -n 's/^ratio .* \([0-9.]*\)$/\1/p'
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
row "trend: a sample after a day / at the start" "$trend"
row "the suite's run time (s)" "$suite"
