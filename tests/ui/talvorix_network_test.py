#!/usr/bin/env python3
"""talvorix.exe under Wine on a network port: ser2net serves the simulated
device's pseudo-terminal on 127.0.0.1 as an RFC 2217 port, and the program is
started with its address on the command line, as a shortcut starts it. It
connects by itself (banner): the banner reaches the log, a key typed reaches
the device whole. Where nothing listens (refused) the window's connect failure
message is shown; a host that takes no connection is given up by 切断
(cancelled), and no failure follows when the connect's bound has passed.

usage: talvorix_network_test.py CASE EXE SIMDEVICE DISPLAY_NUMBER WORKDIR   (CASE: banner, refused, cancelled)
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
from ser2net_server import Ser2net, free_port  # noqa: E402
from wine_session import Failed, Session, check, log, require_tools, wait_until  # noqa: E402

BANNER = "準備完了"
KEY_A = bytes([0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04])


def banner_case(exe, simdevice, display, workdir):
    """Through ser2net: the banner in the log, a key to the device and back."""
    tty, record = os.path.join(workdir, "tty"), os.path.join(workdir, "record")
    with open(os.path.join(workdir, "device.scenario"), "w") as scenario:
        scenario.write("wait-open\nline %s\nexpect %s\nline 受け取りました\nwait-close\n"
                       % (BANNER, " ".join("%02x" % b for b in KEY_A)))
    device = subprocess.Popen([simdevice, "--link", tty, "--record", record, "--settle", "100",
                               os.path.join(workdir, "device.scenario")], stdout=subprocess.DEVNULL)
    wait_until(lambda: os.path.islink(tty), 10)
    server = Ser2net(tty, "9600n81")
    server.start()
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixnet",
                      arguments=[server.url()])
    try:
        session.start(with_device=False)
        check(wait_until(lambda: text(BANNER + "\n") in session.log_bytes(), 20), "the banner reached the log")
        session.focus()
        session.keys("a")
        check(wait_until(lambda: os.path.exists(record) and open(record, "rb").read() == KEY_A, 10),
              "the key report reached the device whole")
        check(wait_until(lambda: text("受け取りました") in session.log_bytes(), 10),
              "the device's answer reached the log")
    finally:
        session.close()
        server.stop()
        device.terminate()
        device.wait()


def refused_case(exe, _simdevice, display, workdir):
    """Nothing listens: the connect fails with the window's message."""
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixnet",
                      arguments=["rfc2217://127.0.0.1:%d" % free_port()])
    try:
        session.start(with_device=False)
        check(wait_until(lambda: len(session.windows_titled("通信ターミナル")) >= 2, 20),
              "the message 接続できません。 is shown")
        check(b"\x92\xca\x90\x4d\x8a\x4a\x8e\x6e" not in session.log_bytes(), "no start stamp was written")
    finally:
        session.close()


def cancelled_case(exe, _simdevice, display, workdir):
    """A host that takes no connection (a listener with a full queue): 切断
    ends the attempt, so no failure is told when the connect's bound passes."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    queued = []
    for _ in range(3):
        s = socket.socket()
        s.setblocking(False)
        s.connect_ex(listener.getsockname())
        queued.append(s)
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixnet",
                      arguments=["socket://127.0.0.1:%d" % listener.getsockname()[1]])
    try:
        session.start(with_device=False)
        session.keys("shift+Next")
        time.sleep(6)
        check(len(session.windows_titled("通信ターミナル")) == 1, "no failure is told after 切断")
        check(session.running(), "the program runs on")
    finally:
        session.close()
        for s in queued:
            s.close()
        listener.close()


CASES = {"banner": banner_case, "refused": refused_case, "cancelled": cancelled_case}


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 6 or sys.argv[1] not in CASES:
        print(__doc__)
        return 2
    require_tools()
    case, exe, simdevice, display, workdir = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    try:
        CASES[case](exe, simdevice, display, workdir)
    except Failed:
        log("1 check failed")
        return 1
    log("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
