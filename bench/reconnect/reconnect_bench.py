#!/usr/bin/env python3
"""How fast automatic reconnect takes a returning device up again: talvorix.exe
under Wine, the simulated device on COM5 unplugged and plugged back a second
later, CYCLES times. The device measures each time from its return (its new
pseudo-terminal linked as COM5) to the terminal having opened the port and
applied the line settings (the first change of the line settings it sees).

With --rfc2217 the terminal is started with the address of ser2net serving
the device's pseudo-terminal on 127.0.0.1 as an RFC 2217 port, and it is the
server that goes away and comes back a second later, CYCLES times: each time
from the moment ser2net listens again to the terminal's start stamp in the log
(the connection open, purged and configured). It is away a second and a
random part of the terminal's 100 ms between tries.

usage: reconnect_bench.py EXE SIMDEVICE DISPLAY_NUMBER WORKDIR [CYCLES] [--rfc2217]
(WINEPREFIX and TALVORIX_WINE from tools/wine-prefix.sh). Prints the minimum,
the median and the maximum in milliseconds, and whether every connection's
bytes reached the log.
"""

import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "ui"))

from reconnect_rig import (ABSENCE_MS, DESKTOP, END_STAMP, START_STAMP, Rig, connection_bytes,  # noqa: E402
                           sessions_of, wait_until)
from ser2net_server import Ser2net  # noqa: E402
from wine_session import Session  # noqa: E402


def run(rig, cycles):
    rig.connect()
    if not wait_until(lambda: rig.log_bytes().endswith(connection_bytes(0)), 15):
        raise RuntimeError("the terminal did not connect")
    for k in range(1, cycles + 1):
        rig.device.release()
        if not wait_until(lambda: rig.log_bytes().endswith(connection_bytes(k)), 15):
            raise RuntimeError("connection %d did not come" % k)
    complete = sessions_of(rig.log_bytes()) == [connection_bytes(k) for k in range(cycles + 1)]
    return rig.configured_times(), complete


def run_pty(exe, simdevice, display, workdir, cycles):
    rig = Rig(exe, simdevice, display, workdir, cycles + 1)
    try:
        rig.start()
        return run(rig, cycles)
    finally:
        rig.close()


def network_device(simdevice, workdir, connections):
    """talvorix-simdevice on a pseudo-terminal for ser2net to serve: connection
    k's bytes each time the port is opened (the server's connect), then it waits
    for the close. Returns the process and the pseudo-terminal's link."""
    path, tty = os.path.join(workdir, "device.txt"), os.path.join(workdir, "tty")
    with open(path, "w", encoding="utf-8") as out:
        out.write("".join("wait-open\nbytes %s\nwait-close\n" % connection_bytes(k).hex(" ")
                          for k in range(connections)))
    device = subprocess.Popen([simdevice, "--link", tty, "--settle", "100", path], stdout=subprocess.DEVNULL)
    if not wait_until(lambda: os.path.islink(tty), 10):
        raise RuntimeError("the simulated device made no pseudo-terminal")
    return device, tty


def returns(session, server, cycles):
    """ser2net stopped and started again `cycles` times; the milliseconds from
    its listening again to the terminal's start stamp, each time. It is away a
    second and up to one try period more, at random, so that its return falls
    anywhere in the terminal's 100 ms between tries."""
    times = []
    for k in range(1, cycles + 1):
        server.stop()
        if not wait_until(lambda: session.log_bytes().count(END_STAMP) == k, 15):
            raise RuntimeError("the loss of connection %d was not noticed" % (k - 1))
        time.sleep(ABSENCE_MS / 1000 + random.uniform(0, 0.1))
        back = server.start()
        if not wait_until(lambda: session.log_bytes().count(START_STAMP) == k + 1, 15, step=0.001):
            raise RuntimeError("connection %d did not come" % k)
        times.append(round((time.monotonic() - back) * 1000))
        if not wait_until(lambda: session.log_bytes().endswith(connection_bytes(k)), 15):
            raise RuntimeError("connection %d's bytes did not come" % k)
    return times


def run_network(exe, simdevice, display, workdir, cycles):
    device, tty = network_device(simdevice, workdir, cycles + 1)
    server = Ser2net(tty)
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop=DESKTOP, arguments=[server.url()])
    try:
        server.start()
        session.start(with_device=False)
        if not wait_until(lambda: session.log_bytes().endswith(connection_bytes(0)), 15):
            raise RuntimeError("the terminal did not connect")
        times = returns(session, server, cycles)
        return times, sessions_of(session.log_bytes()) == [connection_bytes(k) for k in range(cycles + 1)]
    finally:
        session.close()
        server.stop()
        device.terminate()
        device.wait()


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    arguments = [a for a in sys.argv[1:] if a != "--rfc2217"]
    network = len(arguments) != len(sys.argv) - 1
    if len(arguments) not in (4, 5):
        print(__doc__)
        return 2
    exe, simdevice, display, workdir = arguments[:4]
    cycles = int(arguments[4]) if len(arguments) == 5 else 20
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    times, complete = (run_network if network else run_pty)(exe, simdevice, int(display), workdir, cycles)
    what = "ser2net back -> connection open and configured (start stamp)" if network else \
        "device back -> port open and configured"
    print("%s, %d returns: min %d ms, median %d ms, max %d ms" % (
        what, len(times), min(times), statistics.median(times), max(times)))
    print("every connection's banner and data in the log, in order: %s" % ("yes" if complete else "NO"))
    return 0 if complete else 1


if __name__ == "__main__":
    sys.exit(main())
