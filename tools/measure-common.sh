# Sourced by the measuring scripts, with $goal set (and $mandated, ms, unless
# say_ratio is given it): the build named by their first argument (default
# build), tamsel-sim answering at once (or as the array $link_args says), and
# what the measurements share.
#   write_script         the tamsel-cli script, from standard input
#   run_script           runs it with timestamps against the simulator,
#                        into $work/run.out
#   median               of the numbers on standard input, one a line
#   say_ratio MS TEXT [MANDATED]
#                        the closing line: TEXT, the mandated time and the
#                        ratio of MS to it (tools/bench.sh reads "ratio N")
build=${1:-build}
source "$(dirname "${BASH_SOURCE[0]}")/sim-session.sh"
if [ -n "${link_args+set}" ]; then start_sim "${link_args[@]}" --quiet; else start_sim --immediate --quiet; fi

write_script() { cat >"$work/measure.script"; }

run_script() {
  TAMSEL_COM1="$device" "$build/ui/cli/tamsel-cli" --timestamps "$work/measure.script" >"$work/run.out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

say_ratio() {
  awk -v ms="$1" -v text="$2" -v m="${3:-$mandated}" -v g="$goal" \
    'BEGIN { printf "%s; mandated %.1f ms; ratio %.4f (goal at most %s)\n", text, m, ms / m, g }'
}
