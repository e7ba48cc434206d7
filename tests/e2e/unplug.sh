#!/usr/bin/env bash
# The modem unplugged: tamsel-cli runs auto read on COM1, a symbolic link to
# the simulator's pseudo-terminal; the simulator goes away (its side of the
# terminal closes), and a new one comes up behind the same link. The tool must
# end the operation, show a closed port, stay idle, and find, open and connect
# to the new device without a restart.
set -euo pipefail
sim=$1 cli=$2 script=$3 expected=$4
here=$(dirname "$0")

source "$here/../../tools/sim-session.sh"
# The simulator behind the link COM1 names.
plug() { start_sim --quiet; ln -sfn "$device" "$work/com1"; }

# CPU ticks (user + system) the process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

plug
env -u TAMSEL_COM2 TAMSEL_COM1="$work/com1" timeout 90 "$cli" "$script" >"$work/cli.out" &
cli_pid=$!

# Unplug once auto read is under way.
for _ in $(seq 300); do grep -q 'log: 82B57C01020301004A' "$work/cli.out" && break; sleep 0.05; done
sleep 0.5
stop_sim || true
rm -f "$work/com1"

# Idle after the loss: at most 5 ticks (50 ms) of CPU over the 2 s pause.
for _ in $(seq 300); do grep -q '^show 1001' "$work/cli.out" && break; sleep 0.05; done
before=$(ticks "$cli_pid")
sleep 1.5
after=$(ticks "$cli_pid")
plug  # the device is back behind the same name

status=0
wait "$cli_pid" || status=$?
cli_pid=
python3 "$here/match_transcript.py" "$expected" "$work/cli.out" || exit 1
[ "$status" -eq 0 ] || { echo "tamsel-cli exited with $status"; exit 1; }
[ $((after - before)) -le 5 ] || { echo "busy after the loss: $((after - before)) ticks in 1.5 s"; exit 1; }
