#!/usr/bin/env bash
# Soak of the window: tamsel under Xvfb with its trend open, auto-reading
# tamsel-sim over a pseudo-terminal for DURATION, clicked as an operator
# would (xdotool). Prints the window's memory (RSS) and CPU every period (a
# minute, or a quarter of a run shorter than four minutes) and checks at the
# end that auto read went on throughout and that memory grew by less than
# 1 MB after the first period.
#   tools/soak-window.sh [BUILD] [DURATION] [SCREENSHOT.png]
#   DURATION: 10m (the default), 30m, 90s, ...; SCREENSHOT: the screen at the end
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
duration=${2:-10m}
screenshot=${3:-}

name=soak-window
source tools/soak-common.sh
xvfb_pid=
stop_all() {
  [ -z "${tamsel_pid:-}" ] || kill "$tamsel_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  cleanup
}
trap stop_all EXIT
start_sim --quiet --immediate  # auto read at its fastest: some 7 samples a second

# A display of our own; -noreset: the server stays when a client leaves.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset 3>"$work/display" 2>"$work/xvfb.err" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")

record=$work/record.log
TAMSEL_COM1="$device" "$build/ui/main/tamsel" --trend --record "$record" >"$work/tamsel.out" 2>"$work/tamsel.err" &
tamsel_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Dravel HART Communication Tool') ||
  { echo "soak-window: no window"; cat "$work/tamsel.err"; exit 1; }
trend=$(timeout 20 xdotool search --sync --name '^Tamsel - Trend$') || { echo "soak-window: no trend window"; exit 1; }
xdotool windowmove "$trend" 1000 0
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT

# Clicks the middle of a control given in the layout's dialog units (the
# window is 556 by 351 of them).
click() {  # X Y W H
  xdotool mousemove $((X + ($1 + $3 / 2) * WIDTH / 556)) $((Y + ($2 + $4 / 2) * HEIGHT / 351)) click 1
}
cycles() { grep -c $'\tlog\t82..........0100' "$record" 2>/dev/null || true; }
click 70 253 43 14  # Search Com
sleep 3
click 70 271 43 14  # Open Com
sleep 1
click 13 181 100 14  # HART Communication
sleep 4
click 130 91 52 14  # Auto Read
sleep 5
[ "$(cycles)" -gt 3 ] || { echo "soak-window: auto read did not start"; cat "$work/tamsel.err"; exit 1; }

printf 'second  rss_kb  cpu_s_per_min  cycles\n'
first_rss= last_rss= before=$(ticks "$tamsel_pid") last_cycles=$(cycles) stalled=0
for sample in $(seq "$samples"); do
  sleep "$period"
  kill -0 "$tamsel_pid" 2>/dev/null || { echo "tamsel ended early"; cat "$work/tamsel.err"; exit 1; }
  now=$(ticks "$tamsel_pid") last_rss=$(rss "$tamsel_pid") count=$(cycles)
  [ -n "$first_rss" ] || first_rss=$last_rss
  [ "$count" -gt "$last_cycles" ] || stalled=1
  awk -v s=$((sample * period)) -v r="$last_rss" -v t=$((now - before)) -v hz="$hz" -v p="$period" -v c="$count" \
    'BEGIN { printf "%6d  %6d  %13.3f  %6d\n", s, r, t / hz * 60 / p, c }'
  before=$now last_cycles=$count
done
[ -z "$screenshot" ] || import -window root "$screenshot"

growth=$((last_rss - first_rss))
echo "auto-read cycles $(cycles); RSS growth after the first period: ${growth} kB"
status=0
[ "$growth" -lt 1024 ] || { echo "FAIL: memory grew by ${growth} kB"; status=1; }
[ "$stalled" -eq 0 ] || { echo "FAIL: auto read stopped during the run"; status=1; }
exit $status
