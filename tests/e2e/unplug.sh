#!/usr/bin/env bash
# The modem unplugged: tamsel-cli runs auto read on COM1, a symbolic link to
# the simulator's pseudo-terminal; the simulator goes away (its side of the
# terminal closes), and a new one comes up behind the same link. The tool must
# end the operation, show a closed port, stay idle, and find, open and connect
# to the new device without a restart.
set -euo pipefail
sim=$1 cli=$2 script=$3 expected=$4
here=$(dirname "$0")

work=$(mktemp -d)
sim_pid= cli_pid=
cleanup() {
  for p in $sim_pid $cli_pid; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_sim() {
  : >"$work/sim.out"
  "$sim" --quiet >"$work/sim.out" 2>/dev/null &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
  ln -sfn "$(head -n 1 "$work/sim.out")" "$work/com1"
}

# CPU ticks (user + system) the process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

start_sim
env -u TAMSEL_COM2 TAMSEL_COM1="$work/com1" timeout 90 "$cli" "$script" >"$work/cli.out" &
cli_pid=$!

# Unplug once auto read is under way.
for _ in $(seq 300); do grep -q 'log: 82B57C01020301004A' "$work/cli.out" && break; sleep 0.05; done
sleep 0.5
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
rm -f "$work/com1"

# Idle after the loss: at most 5 ticks (50 ms) of CPU over the 2 s pause.
for _ in $(seq 300); do grep -q '^show 1001' "$work/cli.out" && break; sleep 0.05; done
before=$(ticks "$cli_pid")
sleep 1.5
after=$(ticks "$cli_pid")
start_sim  # the device is back behind the same name

status=0
wait "$cli_pid" || status=$?
cli_pid=
python3 "$here/match_transcript.py" "$expected" "$work/cli.out" || exit 1
[ "$status" -eq 0 ] || { echo "tamsel-cli exited with $status"; exit 1; }
[ $((after - before)) -le 5 ] || { echo "busy after the loss: $((after - before)) ticks in 1.5 s"; exit 1; }
