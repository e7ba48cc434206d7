#!/usr/bin/env bash
# tamsel-cli never leaves the loop current fixed behind it: at the end of a
# script and on SIGTERM it returns the loop as "Exit Fixed" does, says so in
# one line, notes it in the record, and exits with the status it would have had.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/out"; exit 1; }
fix='click Search Com
click Open Com
click HART Communication
wait 10000
type 1105 12
click Fixed Curr.
wait 10000'
returned='tamsel-cli: the loop current fixed at 12.000 mA is returned to the measured value'

printf '%s\n' "$fix" 'expect 1105 12.0000' >"$work/end.script"
status=0
timeout 60 "$cli" --demo --record "$work/end.log" "$work/end.script" >"$work/out" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "exit $status at the script's end"
[ "$(tail -n 4 "$work/out")" = "log: 82B57C01020328040000000067
log: 86B57C010203280600000000000061
log: Current fixed!
$returned" ] || fail "the loop was not returned at the script's end"
grep -q '	note	the loop current is returned$' "$work/end.log" || fail "the return is not in the record"

printf '%s\n' "$fix" 'expect 1105 wrong' >"$work/failing.script"
status=0
timeout 60 "$cli" --demo --no-record "$work/failing.script" >"$work/out" 2>&1 || status=$?
[ "$status" -eq 1 ] && [ "$(tail -n 1 "$work/out")" = "$returned" ] || fail "exit $status after a failed expect"

printf '%s\n' "$fix" 'sleep 60000' >"$work/signal.script"
"$cli" --demo --no-record "$work/signal.script" >"$work/out" 2>&1 &
pid=$!
for _ in $(seq 200); do grep -q '^log: Current fixed!$' "$work/out" && break; sleep 0.05; done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 143 ] && [ "$(tail -n 1 "$work/out")" = "$returned" ] || fail "exit $status after SIGTERM"
echo "loop returned at the end, after a failure and on SIGTERM"
