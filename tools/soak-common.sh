# Sourced by the soaks, with $build and $duration set (and $name, for
# messages): the simulator session, and what the soaks share.
#   $seconds, $period, $samples
#                  the run's length, the time between samples (a minute, or
#                  a quarter of a run shorter than four minutes), their count
#   rss PID        resident memory in kB
#   ticks PID      CPU time used, in clock ticks ($hz a second)
case $duration in
  *m) seconds=$((${duration%m} * 60)) ;;
  *s) seconds=${duration%s} ;;
  *) seconds=$((duration * 60)) ;;
esac
period=60
[ "$seconds" -ge 240 ] || period=$((seconds / 4))
[ "$period" -ge 1 ] || { echo "$name: $duration is too short"; exit 2; }
samples=$((seconds / period))

source "$(dirname "${BASH_SOURCE[0]}")/sim-session.sh"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
