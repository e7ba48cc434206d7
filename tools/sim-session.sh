# Sourced by the measuring scripts (with $build set): a work directory removed
# at exit, and start_sim ARGS... starting tamsel-sim on a pseudo-terminal and
# setting $device to its path.
work=$(mktemp -d)
sim_pid=
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

start_sim() {
  "$build/sim/tamsel-sim" "$@" >"$work/sim.out" 2>/dev/null &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
  device=$(head -n 1 "$work/sim.out")
}
