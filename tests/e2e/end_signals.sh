#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end a program in order: the operation under way
# is cut short and its end line in the record names the signal, the loop
# current left fixed is returned, the port's lock file goes, and the exit
# status is 128 + the signal's number. tamsel-cli runs auto read from a
# script, and a second signal while it ends ends it at once; the window (the
# test host, as tamsel's main runs it) runs auto read with nothing over it,
# with the About box open, or with its Exit question unanswered.
#   end_signals.sh SIM cli TAMSEL-CLI
#   end_signals.sh SIM window HOST TAMSEL
set -euo pipefail
sim=$1 kind=$2 program=$3 tamsel=${4:-}
source "$(dirname "$0")/../../tools/sim-session.sh"
# A script's background job starts with SIGINT ignored, and an ignored signal
# stays ignored: the programs start with it at its default.
run=(env --default-signal=INT)
fail() { echo "FAIL: $*"; cat "$work/out"; exit 1; }

# start [BOX]: the program on $device with auto read running and the loop
# fixed; the window with BOX over it.
start() {
  rm -f "$work/record"
  if [ "$kind" = cli ]; then
    printf '%s\n' 'click Search Com' 'click Open Com' 'click HART Communication' 'wait 5000' 'type 1105 12' \
      'click Fixed Curr.' 'wait 5000' 'click Auto Read' 'sleep 60000' >"$work/script"
    TAMSEL_COM1=$device "${run[@]}" "$program" --record "$work/record" "$work/script" >"$work/out" 2>&1 &
    ready='^log: 82B57C01020301004A$'
  else
    TAMSEL_COM1=$device QT_QPA_PLATFORM=offscreen "${run[@]}" "$program" "$work/record" "$1" >"$work/out" 2>&1 &
    ready="^ready $2\$"
  fi
  cli_pid=$!
  for _ in $(seq 250); do grep -q "$ready" "$work/out" && break; sleep 0.02; done
  grep -q "$ready" "$work/out" || fail "not ready"
  # Qt SerialPort's lock of the device, in Debian's world-writable lock directory.
  lock=/var/lock/LCK..${device#/dev/} lock=${lock/pts\//pts_}
  [ -e "$lock" ] || fail "no $lock while the port is open"
}

# end SIGNAL: sends it; sets $status, 137 when the program was still there
# 10 s later.
end() {
  kill -"$1" "$cli_pid"
  (sleep 10 && kill -KILL "$cli_pid") >/dev/null 2>&1 &
  local watchdog=$!
  status=0
  wait "$cli_pid" || status=$?
  kill "$watchdog" 2>/dev/null && wait "$watchdog" 2>/dev/null || true
  cli_pid=
}

start_sim --immediate --quiet
for row in "TERM 143 none QtDialogWindow" "INT 130 about AboutBox" "HUP 129 exit QMessageBox"; do
  read -r signal wanted box top <<<"$row"
  start "$box" "$top"
  end "$signal"
  [ "$status" -eq "$wanted" ] || fail "SIG$signal: exit $status, wanted $wanted"
  grep -q "	end	1089 \"Auto Read\" interrupted by SIG$signal\$" "$work/record" || fail "SIG$signal: no end line"
  [ "$(tail -n 1 "$work/record" | cut -f 3-)" = "note	the loop current is returned" ] || fail "SIG$signal: the loop"
  [ ! -e "$lock" ] || fail "SIG$signal: $lock left behind"
done

if [ "$kind" = cli ]; then
  # The simulator stopped: the loop's return would take its three tries.
  start
  kill -STOP "$sim_pid"
  kill -TERM "$cli_pid"
  for _ in $(seq 250); do grep -q '^log: 82B57C01020328040000000067$' "$work/out" && break; sleep 0.02; done
  end INT
  kill -CONT "$sim_pid"
  [ "$status" -eq 130 ] || fail "a second signal while ending: exit $status, wanted 130"
else
  # tamsel itself, once it catches the signals.
  TAMSEL_COM1=$device QT_QPA_PLATFORM=offscreen "${run[@]}" "$tamsel" --no-record >"$work/out" 2>&1 &
  cli_pid=$!
  for _ in $(seq 250); do
    (((16#$(awk '/^SigCgt/ { print $2 }' "/proc/$cli_pid/status") & 1) != 0)) && break  # SIGHUP's bit
    sleep 0.02
  done
  end HUP
  [ "$status" -eq 129 ] || fail "tamsel: exit $status after SIGHUP"
fi
echo "$kind ends in order on SIGTERM, SIGINT and SIGHUP"
