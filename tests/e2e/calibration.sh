#!/usr/bin/env bash
# A calibration end to end over a pseudo-terminal: the simulated sensor reads
# 0.5 % high, so the as-found run fails; an upper sensor trim at the applied
# pressure mends it, and the as-left run passes. The calibration is filed, and
# the certificate names the device's tag and both verdicts.
set -euo pipefail
sim=$1 cli=$2 script=$3 certificate=$4
source "$(dirname "$0")/../../tools/sim-session.sh"
fail() { echo "FAIL: $*"; cat "$work/out"; exit 1; }
start_sim --sensor-error 0.5 --steady --quiet
{ cat "$script"; echo "cal certificate $work/$certificate"; } >"$work/script"
TAMSEL_COM1="$device" XDG_STATE_HOME="$work/state" timeout 120 "$cli" --no-record "$work/script" >"$work/out" ||
  fail "tamsel-cli exited with $?"
grep -q '^cal: point 50 reference=50.0000 pv=50.2500 ma=12.0400 pv_error=0.250% ma_error=0.250% fail$' "$work/out" ||
  fail "the as-found point"
grep -q '^cal: as-found fail 1 points$' "$work/out" || fail "the as-found verdict"
grep -q '^cal: as-left pass 1 points$' "$work/out" || fail "the as-left verdict"
filed=$(ls "$work"/state/tamsel/calibrations/PT-101_66051_*.json) || fail "no calibration filed"
grep -q '"technician": "A. Tester"' "$filed" || fail "the technician is not filed"
case $certificate in
  *.pdf) text=$(pdftotext "$work/$certificate" -) ;;
  *) text=$(cat "$work/$certificate") ;;
esac
for word in PT-101 as-found as-left pass fail; do
  grep -qi -- "$word" <<<"$text" || fail "the certificate lacks $word"
done
echo "as-found fails, as-left passes, filed, certificate written"
