# Sourced by the scripts that run tamsel-sim (with $sim, or $build, set):
# a work directory, and at exit the simulator and $cli_pid (when set) ended
# and the directory removed.
#   start_sim ARGS...  tamsel-sim on a new pseudo-terminal, ending the one
#                      before; sets $device and $sim_pid. Its output goes to
#                      $work/sim.out and $work/sim.err, emptied on each start.
#   stop_sim           ends it with SIGTERM; returns its exit status.
work=$(mktemp -d)
sim_pid=
cleanup() {
  for p in $sim_pid ${cli_pid:-}; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_sim() {
  [ -z "$sim_pid" ] || stop_sim || true
  # Emptied here, not by the redirection: the wait below must not see the
  # last simulator's device before the new one has started.
  : >"$work/sim.out"
  "${sim:-$build/sim/tamsel-sim}" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
  # What the tool's TAMSEL_COM1 takes: a device, or a link's value.
  device=$(head -n 1 "$work/sim.out")
  local path=${device#fsk:}
  path=${path%%\?*}
  case $device in hartip*://*) ;; *) [ -c "$path" ] || { echo "tamsel-sim gave no device: '$device'"; cat "$work/sim.err"; exit 1; } ;; esac
}

stop_sim() {
  local pid=$sim_pid status=0
  sim_pid=
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" || status=$?
  return "$status"
}
