#!/usr/bin/env python3
"""How fast automatic reconnect takes a returning device up again: talvorix.exe
under Wine, the simulated device on COM5 unplugged and plugged back a second
later, CYCLES times. The device measures each time from its return (its new
pseudo-terminal linked as COM5) to the terminal having opened the port and
applied the line settings (the first change of the line settings it sees).

usage: reconnect_bench.py EXE SIMDEVICE DISPLAY_NUMBER WORKDIR [CYCLES]
(WINEPREFIX and TALVORIX_WINE from tools/wine-prefix.sh). Prints the minimum,
the median and the maximum in milliseconds, and whether every connection's
bytes reached the log.
"""

import os
import shutil
import signal
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "ui"))

from reconnect_rig import Rig, connection_bytes, sessions_of, wait_until  # noqa: E402


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


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) not in (5, 6):
        print(__doc__)
        return 2
    exe, simdevice, display, workdir = sys.argv[1:5]
    cycles = int(sys.argv[5]) if len(sys.argv) == 6 else 20
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    rig = Rig(exe, simdevice, int(display), workdir, cycles + 1)
    try:
        rig.start()
        times, complete = run(rig, cycles)
    finally:
        rig.close()
    print("device back -> port open and configured, %d returns: min %d ms, median %d ms, max %d ms" % (
        len(times), min(times), statistics.median(times), max(times)))
    print("every connection's banner and data in the log, in order: %s" % ("yes" if complete else "NO"))
    return 0 if complete else 1


if __name__ == "__main__":
    sys.exit(main())
