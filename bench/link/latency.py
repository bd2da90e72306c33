#!/usr/bin/env python3
"""Latency of a lone word under Wine: a device that sends one word every
200 ms to an idle terminal, and the time from the word's arrival at the port
to its interpretation.

The link test driver (real watcher, pump and link; an interpreter that only
records) writes the first byte of each block it interprets back to the device,
so what is measured is the round trip: the word written here, the driver's
interpretation, the byte back. The way back is one overlapped write; the figure
is an upper bound of the way in.

usage: latency.py LINK_DRIVER_EXE DISPLAY [WORDS]   (WINEPREFIX and TALVORIX_WINE from
tools/wine-prefix.sh)
Prints the median and the 99th percentile in milliseconds.
"""

import os
import pty
import select
import subprocess
import sys
import tempfile
import time
import tty

PORT = 17
INTERVAL = 0.2


def open_device(prefix):
    master, slave = pty.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    link = os.path.join(prefix, "dosdevices", "com%d" % PORT)
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(os.ttyname(slave), link)
    return master, slave, link


def round_trip(master, word):
    """Milliseconds from writing the word to its first byte coming back; None after a second."""
    sent = time.monotonic()
    os.write(master, word)
    readable, _, _ = select.select([master], [], [], 1.0)
    if not readable:
        return None
    back = os.read(master, 64)
    took = (time.monotonic() - sent) * 1000
    return took if back[:1] == word[:1] else None


def measure(master, count):
    times = []
    lost = 0
    for index in range(count):
        time.sleep(INTERVAL)
        took = round_trip(master, bytes([0x21 + index % 90, 0x23]))
        if took is None:
            lost += 1
        else:
            times.append(took)
    return sorted(times), lost


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    driver, display = os.path.abspath(sys.argv[1]), sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    master, slave, link = open_device(os.environ["WINEPREFIX"])
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "640x480x24"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.7)
    env = dict(os.environ, DISPLAY=display, WINEDEBUG="-all")
    with tempfile.TemporaryDirectory(prefix="talvorix-latency-") as work:
        seconds = int(count * INTERVAL * 1000) + 8000
        driver_process = subprocess.Popen([os.environ["TALVORIX_WINE"], driver, "port", str(PORT), "log", "open", "answer",
                                           "pump", str(seconds), "close"],
                                          cwd=work, env=env, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL)
        try:
            time.sleep(5)  # Wine's start and the connection
            times, lost = measure(master, count)
        finally:
            try:
                driver_process.wait(timeout=seconds / 1000 + 10)
            except subprocess.TimeoutExpired:
                driver_process.kill()
                driver_process.wait()
            xvfb.terminate()
            xvfb.wait()
            os.unlink(link)
            os.close(master)
            os.close(slave)
    if not times:
        print("no word came back")
        return 1
    median = times[len(times) // 2]
    p99 = times[min(len(times) - 1, (len(times) * 99) // 100)]
    print("%d words, one every %d ms: median %.2f ms, 99th percentile %.2f ms, max %.2f ms, %d lost" % (
        len(times), INTERVAL * 1000, median, p99, times[-1], lost))
    return 0


if __name__ == "__main__":
    sys.exit(main())
