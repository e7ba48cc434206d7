#!/usr/bin/env python3
# tamsel-sim --commands end to end: after its first line, one answer a
# console line on standard output, also for a line too long and for the last
# line without its newline; it serves on after standard input ends, and
# SIGTERM ends it with status 0. (What the lines do: tests/sim, C++.)
import signal
import subprocess
import sys

sim = subprocess.Popen([sys.argv[1], "--link", "hartip", "--steady", "--commands", "--quiet"],
                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
signal.signal(signal.SIGALRM, lambda *_: sim.kill())  # a hang ends in a failure
signal.alarm(20)
sim.stdin.write("pressure 80\n" + "x" * 3000 + "\npressure 1e9\nwobble 1")
sim.stdin.close()
got = [sim.stdout.readline().rstrip("\n") for _ in range(5)]
want = ["ok", "error: line too long", "error: bad pressure '1e9', not kPa from -100000 to 100000", "ok"]
ok = got[0].startswith("hartip://") and got[1:] == want and sim.poll() is None
sim.send_signal(signal.SIGTERM)
ok = ok and sim.wait() == 0
print("ok" if ok else "FAILED: %s, status %s" % (got, sim.returncode))
sys.exit(0 if ok else 1)
