#!/usr/bin/env python3
# tamsel-sim --commands end to end: console lines on its standard input are
# answered on its standard output, one line each, while it serves HART-IP;
# they change what the transmitters read; the end of standard input leaves
# it serving; SIGTERM ends it with status 0.
import signal
import socket
import struct
import subprocess
import sys
from functools import reduce

sim = subprocess.Popen([sys.argv[1], "--link", "hartip", "--multidrop", "2", "--steady", "--commands", "--quiet"],
                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
failed = []


def give_up(*_):
    raise TimeoutError("no answer in 30 s")


signal.signal(signal.SIGALRM, give_up)
signal.alarm(30)  # every read below is bounded by this


def check(ok, what):
    if not ok:
        failed.append(what)


def ask(text, end="\n"):
    sim.stdin.write(text + end)
    sim.stdin.flush()
    if end == "":
        sim.stdin.close()
    return sim.stdout.readline().rstrip("\n")


def message(seq, msg_id, body):
    udp.send(struct.pack(">BBBBHH", 1, 0, msg_id, 0, seq, 8 + len(body)) + body)
    return udp.recv(512)[8:]


def pv(seq, id_last):
    # Command 1 in a long frame to device id 01 02 id_last; its PV float.
    frame = bytes([0x82, 0xB5, 0x7C, 1, 2, id_last, 1, 0])
    reply = message(seq, 3, frame + bytes([reduce(lambda a, b: a ^ b, frame)]))
    return struct.unpack(">f", reply[-5:-1])[0]


try:
    url = sim.stdout.readline().strip()
    udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    udp.settimeout(2)
    udp.connect(("127.0.0.1", int(url.rsplit(":", 1)[1])))
    message(1, 0, bytes([1, 0, 0, 0x27, 0x10]))  # session, 10 s
    check(ask("pressure 80 2") == "ok", "pressure at address 2 taken")
    check((pv(2, 4), pv(3, 3)) == (80.0, 50.0), "only the second transmitter at 80 kPa")
    check(ask("pressure 1e9").startswith("error: "), "a pressure out of bounds refused")
    check(ask("x" * 3000) == "error: line too long", "a line too long refused")
    check(ask("pressure 70") == "ok", "one answer for the line too long")
    check(ask("pressure 60", end="") == "ok", "the last line answered at the end of input")
    check(pv(4, 3) == 60.0, "serving on after the end of input, steady")
    sim.send_signal(signal.SIGTERM)
    check(sim.wait(5) == 0, "status 0 on SIGTERM")
except (OSError, TimeoutError, subprocess.TimeoutExpired) as e:
    failed.append(str(e))
finally:
    if sim.poll() is None:
        sim.kill()
for what in failed:
    print("FAILED:", what)
sys.exit(1 if failed else 0)
