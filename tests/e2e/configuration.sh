#!/usr/bin/env bash
# Configuration files end to end over a pseudo-terminal: save, a damping set
# in the window, compare (exactly that setting), restore (only it, read back),
# compare again; or (with "survey") a survey of a multidrop loop of three
# transmitters, which waits out the reply time of every empty address.
set -euo pipefail
sim=$1 cli=$2 part=${3:-files}
source "$(dirname "$0")/../../tools/sim-session.sh"
fail() { echo "FAIL: $*"; cat "$work/out"; exit 1; }
connect='click Search Com
click Open Com'
if [ "$part" = files ]; then
start_sim --quiet --immediate
printf '%s\n' "$connect" 'click HART Communication' 'wait' "config save $work/pt101.json" 'type 1137 2.5' \
  'click 1139' 'wait' "config compare $work/pt101.json" "config restore $work/pt101.json" \
  "config compare $work/pt101.json" >"$work/config.script"
TAMSEL_COM1="$device" timeout 120 "$cli" --record "$work/record" "$work/config.script" >"$work/out" || fail "exit $?"
[ "$(grep '^config: ' "$work/out")" = "config: saved $work/pt101.json
config: damping device=2.5 file=0.5
config: 1 differ
config: wrote Damping (s) 2.5 -> 0.5
config: restored 1
config: 0 differ" ] || fail "save, compare, restore"
grep -q '	note	write damping 2.5 -> 0.5$' "$work/record" || fail "the restore's write is not in the record"
grep -q '"format_version": 1' "$work/pt101.json" || fail "the file has no format version"
echo "saved, compared, restored"
exit 0
fi

start_sim --quiet --immediate --multidrop 3
printf '%s\n' "$connect" 'survey' >"$work/survey.script"
TAMSEL_COM1="$device" timeout 120 "$cli" --no-record "$work/survey.script" >"$work/out" || fail "exit $?"
[ "$(grep '^survey: ' "$work/out")" = "survey: 1 Fenmarks Harrow 66051 PT-101
survey: 2 Fenmarks Harrow 66052 PT-102
survey: 3 Fenmarks Harrow 66053 PT-103" ] || fail "the survey"
echo "three transmitters surveyed"
