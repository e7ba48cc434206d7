#!/usr/bin/env bash
# The programs' options: what they say and how they exit, with no display.
set -uo pipefail
tamsel=$1 cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # check WHAT WANTED_STATUS COMMAND...
  local what=$1 wanted=$2; shift 2
  "$@" >"$work/out" 2>&1
  local status=$?
  [ "$status" -eq "$wanted" ] || { echo "FAIL $what: exit $status, wanted $wanted"; cat "$work/out"; fail=1; }
}
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

check "tamsel --help without a display" 0 nodisplay "$tamsel" --help
grep -q '^Usage: tamsel ' "$work/out" || { echo "FAIL: no usage"; fail=1; }
check "tamsel with a bad option without a display" 2 nodisplay "$tamsel" --bogus
check "tamsel-cli with a directory for a script" 2 "$cli" "$work"
grep -q 'cannot read' "$work/out" || { echo "FAIL: the directory is not named as unreadable"; fail=1; }
check "tamsel-cli with two scripts" 2 "$cli" "$work/a" "$work/b"
printf '\xEF\xBB\xBFshow 1003\n' >"$work/bom.script"
check "tamsel-cli with a byte-order mark" 0 "$cli" "$work/bom.script"
grep -q '^show 1003: text="HART Communication"' "$work/out" || { echo "FAIL: the first line was not read"; fail=1; }
check "tamsel-cli --help" 0 "$cli" --help
grep -q '^Usage: tamsel-cli \[--demo\] \[--timestamps\]' "$work/out" || { echo "FAIL: usage without --timestamps"; fail=1; }
exit $fail
