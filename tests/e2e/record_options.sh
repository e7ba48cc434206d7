#!/usr/bin/env bash
# tamsel-cli's record: one file a day under the state directory by default,
# the file of --record, none with --no-record; a record that cannot be written
# warns once on stderr and changes nothing in the transcript; nor does a FIFO
# that no one reads, whose lines are counted in one warning at the end.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
printf '%s\n' 'click Search Com' 'click Open Com' 'click HART Communication' 'wait 10000' >"$work/script"
run() { XDG_STATE_HOME="$work/state" timeout 60 "$cli" --demo "$@" "$work/script" >"$work/out" 2>"$work/err"; }

run
daily="$work/state/tamsel/records/$(date +%F).log"
[ -s "$daily" ] || fail "no record at $daily"
cp "$work/out" "$work/transcript"
[ -s "$work/transcript" ] && [ ! -s "$work/err" ] || fail "bad run: $(cat "$work/err")"

rm -rf "$work/state"
run --record "$work/chosen.log"
cmp -s "$work/out" "$work/transcript" || fail "the transcript changed with --record"
[ "$(grep -c '	log	' "$work/chosen.log")" -eq "$(grep -c '^log: ' "$work/out")" ] || fail "a log line is not recorded"
grep -q '	Fenmarks/Harrow/66051	end	1003 "HART Communication"$' "$work/chosen.log" || fail "no end of the connect"
[ ! -e "$work/state" ] || fail "--record also wrote the daily record"

run --no-record
[ ! -e "$work/state" ] || fail "--no-record wrote a record"

touch "$work/blocker"
run --record "$work/blocker/sub/record.log"
cmp -s "$work/out" "$work/transcript" || fail "the transcript changed with an unwritable record"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "cannot write the record $work/blocker/sub/record.log" "$work/err" ||
  fail "not one warning: $(cat "$work/err")"

mkfifo "$work/fifo"
start=$(date +%s)
run --record "$work/fifo"
cmp -s "$work/out" "$work/transcript" || fail "the transcript changed with a FIFO that no one reads"
[ $(($(date +%s) - start)) -lt 20 ] || fail "a FIFO that no one reads held the run up"
lines=$(wc -l <"$work/chosen.log")
[ "$(cat "$work/err")" = "tamsel: $lines lines of the record $work/fifo are not written: its file took none in the time given at the end" ] ||
  fail "not one warning with the count of $lines lines: $(cat "$work/err")"

timeout 60 cat "$work/fifo" >"$work/read.log" &
reader=$!
run --record "$work/fifo"
wait "$reader" || fail "the reader of the FIFO got no end"
[ ! -s "$work/err" ] || fail "warned with a reader: $(cat "$work/err")"
[ "$(grep -c '	log	' "$work/read.log")" -eq "$(grep -c '^log: ' "$work/out")" ] || fail "a log line did not reach the reader"
