#!/usr/bin/env python3
"""The connection mark in status pane 3 of talvorix.exe under Wine, when the
device disappears while the connect command is still running, with automatic
reconnect turned off (so the loss is told in a message box).

The connect writes its start stamp after the line settings are applied and
before it reads what arrived during the set-up. Here the communication log is
a named pipe that the test fills, so the program waits in that write with the
port open; the test then removes the device (COM5's pseudo-terminal is closed
under the program) and empties the pipe. The read at the end of the connect
finds the device gone, the program tells the user, and the disconnect runs
inside that message. When the command has ended, pane 3 must show the
disconnected mark, and must not have shown the connected one on the way.
window-probe.exe reads the panes and the boxes from outside.

usage: talvorix_connection_mark_test.py EXE PROBE DISPLAY_NUMBER WORKDIR
"""

import os
import shutil
import signal
import sys
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from reconnect_rig import CONNECTED, DESKTOP, DISCONNECTED, END_STAMP, START_STAMP, STAMP, Probe  # noqa: E402
from talvorix_session_test import open_menu_item, wait_until  # noqa: E402
from wine_session import Failed, Session, check, log, require_tools  # noqa: E402

LOST_TEXT = "通信端子が切断されました！！"
HEADER = 86
# The speed the terminal applies first when it connects (its default line),
# and another one the test puts on the line beforehand.
TERMINAL_SPEED = termios.B1000000
OTHER_SPEED = termios.B38400



class LogPipe:
    """A named pipe in the place of Talvorix.log. The test holds it open for
    reading and writing, keeps what the program writes, and can fill it so
    that the program's next write waits."""

    def __init__(self, path):
        os.mkfifo(path)
        self.fd = os.open(path, os.O_RDWR | os.O_NONBLOCK)
        self.data = bytearray()
        self.filler = 0  # bytes of the test's own still to come out of the pipe

    def drain(self):
        while True:
            try:
                chunk = os.read(self.fd, 65536)
            except BlockingIOError:
                return bytes(self.data)
            skipped = min(self.filler, len(chunk))
            self.filler -= skipped
            self.data += chunk[skipped:]

    def fill(self):
        """Fills the pipe to the last byte; call when the program writes nothing."""
        self.drain()
        for size in (4096, 1):
            while True:
                try:
                    self.filler += os.write(self.fd, bytes(size))
                except BlockingIOError:
                    break

    def close(self):
        os.close(self.fd)


def set_speed(device, speed):
    attributes = termios.tcgetattr(device.slave)
    attributes[4] = attributes[5] = speed
    termios.tcsetattr(device.slave, termios.TCSANOW, attributes)


def line_speed(device):
    return termios.tcgetattr(device.master)[5]


def lose_device_while_connecting(session, probe, pipe):
    device = session.device
    set_speed(device, OTHER_SPEED)
    pipe.fill()
    before = len(pipe.data)
    since = probe.count()
    session.keys("space")  # gives the terminal window the focus
    session.keys("shift+Prior")
    check(wait_until(lambda: line_speed(device) == TERMINAL_SPEED, 15, 0.01),
          "the connect applies its line settings")
    # Past the line settings the connect waits in the start stamp's write,
    # which the full pipe holds up; it cannot have read the device yet.
    time.sleep(0.5)
    session.remove_device()
    time.sleep(1.0)
    check(probe.wait_for(0, since, boxes=1) is None,
          "while the pipe is full the connect waits, with the device gone, and shows nothing")
    pipe.drain()  # the start stamp's write goes through, and the connect on
    told = probe.wait_for(15, since, boxes=1)
    check(told is not None and told[1][1]["box"] == LOST_TEXT, "the connect tells the user that the device has gone")
    check(pipe.drain()[before:].startswith(b"\r\n" + START_STAMP), "after writing its start stamp")
    check(wait_until(lambda: END_STAMP in pipe.drain()[before:], 10),
          "the connection is closed while the message is shown")
    session.keys("Return")
    check(probe.wait_for(10, since, boxes=0) is not None, "Return closes the message")
    time.sleep(1.0)
    stamps = pipe.drain()[before:]
    check(len(stamps) == 2 * STAMP and stamps[STAMP:].startswith(b"\r\n" + END_STAMP),
          "the log holds the start and the end stamp and nothing between")
    states = [state for _, state in probe.states.snapshot()[since:]]
    last = states[-1]["pane3"] if states else None
    check(last == DISCONNECTED, "after the connect has ended, pane 3 shows %s (it shows %s)" % (DISCONNECTED, last))
    check(all(state["pane3"] != CONNECTED for state in states), "pane 3 never showed %s meanwhile" % CONNECTED)


def run(exe, probe_exe, display, workdir):
    pipe = LogPipe(os.path.join(workdir, "Talvorix.log"))
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop=DESKTOP)
    probe = None
    try:
        session.start()
        check(wait_until(lambda: len(pipe.drain()) == HEADER, 10), "the program writes its header into the pipe")
        probe = Probe(probe_exe, session.env, 60)
        check(probe.wait_for(10, pane3=DISCONNECTED) is not None, "the probe sees pane 3 show %s" % DISCONNECTED)
        open_menu_item(session, 0, 2)  # 動作 -> 自動再接続, on at start
        lose_device_while_connecting(session, probe, pipe)
    finally:
        if probe is not None:
            probe.stop()
        session.close()
        pipe.close()


def main():
    # A time-out ends the test with SIGTERM: leave through the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    require_tools()
    exe, probe_exe, display, workdir = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    try:
        run(exe, probe_exe, display, workdir)
    except Failed:
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
