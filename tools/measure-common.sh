# Sourced by the measuring scripts, with $mandated (ms) and $goal set: the
# build named by their first argument (default build), tamsel-sim answering
# at once, and what the measurements share.
#   write_script         the tamsel-cli script, from standard input
#   run_script           runs it with timestamps against the simulator,
#                        into $work/run.out
#   median               of the numbers on standard input, one a line
#   say_ratio MS TEXT    the closing line: TEXT, the mandated time and the
#                        ratio of MS to it (tools/bench.sh reads "ratio N")
build=${1:-build}
source "$(dirname "${BASH_SOURCE[0]}")/sim-session.sh"
start_sim --immediate --quiet

write_script() { cat >"$work/measure.script"; }

run_script() {
  TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" --timestamps "$work/measure.script" >"$work/run.out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

say_ratio() {
  awk -v ms="$1" -v text="$2" -v m="$mandated" -v g="$goal" \
    'BEGIN { printf "%s; mandated %d ms; ratio %.4f (goal at most %s)\n", text, m, ms / m, g }'
}
