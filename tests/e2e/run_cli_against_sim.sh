#!/usr/bin/env bash
# End to end: tamsel-sim serves a pseudo-terminal, tamsel-cli opens it as COM1
# through the real serial port and runs a script; the transcript must match.
set -euo pipefail
sim=$1 cli=$2 script=$3 expected=$4 request=$5  # a request the simulator must have logged

work=$(mktemp -d)
cleanup() { [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

"$sim" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.05
done
device=$(head -n 1 "$work/sim.out")
[ -c "$device" ] || { echo "tamsel-sim gave no device: '$device'"; cat "$work/sim.err"; exit 1; }

status=0
env -u TAMSEL_COM2 TAMSEL_COM1="$device" timeout 60 "$cli" "$script" >"$work/cli.out" || status=$?
if ! diff -u "$expected" "$work/cli.out"; then
  echo "--- simulator log:"; cat "$work/sim.err"
  exit 1
fi
[ "$status" -eq 0 ] || { echo "tamsel-cli exited with $status"; exit 1; }
grep -q "$request" "$work/sim.err" || { echo "the simulator did not log the request $request"; exit 1; }

# The simulator ends cleanly on SIGTERM.
kill -TERM "$sim_pid"
sim_status=0
wait "$sim_pid" || sim_status=$?
sim_pid=
[ "$sim_status" -eq 0 ] || { echo "tamsel-sim exited with $sim_status on SIGTERM"; exit 1; }
