#!/usr/bin/env bash
# Measures the auto-read cycle (one command 1 request to the next) against the
# simulator over a link, and divides its mean by the time the cycle must take:
#  - hex (the default): the simulator answering at once over a
#    pseudo-terminal; 9 step ticks of 10 ms and two 100 ms quiet times = 290 ms;
#  - fsk: a binary modem paced at 1200 baud; 90 ms of steps and every
#    character of both exchanges (preambles included) at 11 bits each;
#  - hartip, hartip-tcp: a HART-IP gateway on the loopback; 90 ms of steps and
#    the two round trips (request to reply, less the step before the parse).
# Usage: tools/measure-autoread.sh [BUILD] [SECONDS] [LINK]
set -euo pipefail
seconds=${2:-20}
link=${3:-hex}
goal=1.02
case $link in
  hex) link_args=(--immediate) ;;
  fsk) link_args=(--link fsk --pace 1200) goal=1.03 ;;
  hartip) link_args=(--link hartip --listen 127.0.0.1:0) goal=1.03 ;;
  hartip-tcp) link_args=(--link hartip --listen 127.0.0.1:0 --tcp) goal=1.03 ;;
  *) echo "unknown link $link"; exit 2 ;;
esac
source "$(dirname "$0")/measure-common.sh"

write_script <<SCRIPT
click Search Com
click Open Com
wait 5000
click HART Communication
wait 10000
click Auto Read
sleep $((seconds * 1000))
click Stop Read
wait 10000
SCRIPT

run_script
# Per cycle from one command 1 request ("[t] log: 82B57C01020301004A") to the
# next: its time, the characters of its frames, its round trips.
read -r measured mandated cycles < <(awk -F'[][]' -v link="$link" '
  / log: [0-9A-F]+$/ {
    hex = $3; sub(/^ log: /, "", hex)
    if (hex ~ /^82..........0100/) { start[++n] = $2; chars[n] = 0; trips[n] = 0 }
    if (n == 0) next
    chars[n] += length(hex) / 2 + 5
    if (hex ~ /^82/) sent = $2; else trips[n] += $2 - sent - 10
  }
  END {
    if (n < 4) exit 1
    for (k = 2; k < n; ++k) {
      took += start[k + 1] - start[k]
      must += link == "hex" ? 290 : link == "fsk" ? 90 + chars[k] * 11000 / 1200 : 90 + trips[k]
    }
    printf "%.6f %.6f %d\n", took / (n - 2), must / (n - 2), n - 2
  }' "$work/run.out") || { echo "too few cycles"; exit 1; }
say_ratio "$measured" "$link: $cycles cycles; mean cycle $(printf %.3f "$measured") ms" "$mandated"
