#!/usr/bin/env bash
# End to end: tamsel-sim serves a pseudo-terminal, tamsel-cli opens it as COM1
# through the real serial port and runs a script; the transcript must match
# (tests/e2e/match_transcript.py: exact lines, ~REGEX lines, ... for any).
# Further arguments go to tamsel-sim.
set -euo pipefail
sim=$1 cli=$2 script=$3 expected=$4
shift 4
here=$(dirname "$0")

source "$here/../../tools/sim-session.sh"
start_sim "$@"

status=0
env -u TAMSEL_COM2 TAMSEL_COM1="$device" timeout 60 "$cli" "$script" >"$work/cli.out" || status=$?
if ! python3 "$here/match_transcript.py" "$expected" "$work/cli.out"; then
  echo "--- simulator log:"; cat "$work/sim.err"
  exit 1
fi
[ "$status" -eq 0 ] || { echo "tamsel-cli exited with $status"; exit 1; }
# The simulator logged what the tool says it sent.
sent=$(sed -n 's/^log: \(82[0-9A-F]*\)$/\1/p' "$work/cli.out" | tail -n 1)
[ -z "$sent" ] || grep -q "$sent" "$work/sim.err" || { echo "the simulator did not log the request $sent"; exit 1; }

# The simulator ends cleanly on SIGTERM.
sim_status=0
stop_sim || sim_status=$?
[ "$sim_status" -eq 0 ] || { echo "tamsel-sim exited with $sim_status on SIGTERM"; exit 1; }
