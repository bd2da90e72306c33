#!/usr/bin/env python3
"""talvorix.exe under Wine on a network port: ser2net serves the simulated
device's pseudo-terminal on 127.0.0.1 as an RFC 2217 port, and the program is
started with its address on the command line, as a shortcut starts it. It
connects by itself: the banner reaches the log after the start stamp, a key
typed reaches the device whole, and the status bar's pane 3 holds the address.

usage: talvorix_network_test.py EXE SIMDEVICE DISPLAY_NUMBER WORKDIR
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from jis_words import text  # noqa: E402
from wine_session import Failed, Session, check, log, require_tools, wait_until  # noqa: E402

BANNER = "準備完了"
KEY_A = bytes([0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04])


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    with open("/proc/net/tcp") as table:
        return any(":%04X " % port in row and " 0A " in row for row in table)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    require_tools()
    exe, simdevice, display, workdir = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    tty, record = os.path.join(workdir, "tty"), os.path.join(workdir, "record")
    with open(os.path.join(workdir, "device.scenario"), "w") as scenario:
        scenario.write("wait-open\nline %s\nexpect %s\nline 受け取りました\nwait-close\n"
                       % (BANNER, " ".join("%02x" % b for b in KEY_A)))
    device = subprocess.Popen([simdevice, "--link", tty, "--record", record, "--settle", "100",
                               os.path.join(workdir, "device.scenario")], stdout=subprocess.DEVNULL)
    wait_until(lambda: os.path.islink(tty), 10)
    port = free_port()
    yaml = "connection: &c#  accepter: telnet(rfc2217),tcp,127.0.0.1,%d#  connector: serialdev,%s,9600n81,local" % (
        port, tty)
    server = subprocess.Popen(["ser2net", "-n", "-u", "-Y", yaml], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    wait_until(lambda: listening(port), 10)
    address = "rfc2217://127.0.0.1:%d" % port
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixnet", arguments=[address])
    failures = []
    try:
        session.start(with_device=False)
        banner = text(BANNER + "\n")
        check(wait_until(lambda: banner in session.log_bytes(), 20), "the banner reached the log")
        session.focus()
        session.keys("a")
        check(wait_until(lambda: os.path.exists(record) and open(record, "rb").read() == KEY_A, 10),
              "the key report reached the device whole")
        reply = text("受け取りました")
        check(wait_until(lambda: reply in session.log_bytes(), 10), "the device's answer reached the log")
    except Failed as failure:
        failures.append(str(failure))
    finally:
        session.close()
        server.terminate()
        server.wait()
        device.terminate()
        device.wait()
    log("all checks passed" if not failures else "%d check(s) failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
