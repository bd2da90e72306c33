#!/usr/bin/env python3
"""The connection mark in status pane 3 of talvorix.exe under Wine, when the
device disappears while the connect command is still running.

The connect writes its start stamp after the line settings are applied and
before it reads what arrived during the set-up. Here the communication log is
a named pipe that the test fills, so the program waits in that write with the
port open; the test then removes the device (COM5's pseudo-terminal is closed
under the program) and empties the pipe. The read at the end of the connect
finds the device gone, the program tells the user, and the disconnect runs
inside that message. When the command has ended, pane 3 must show the
disconnected mark, pixel for pixel as it did at start.

usage: talvorix_connection_mark_test.py EXE DISPLAY_NUMBER WORKDIR
"""

import os
import shutil
import signal
import sys
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from talvorix_session_test import END_STAMP, START_STAMP, wait_until  # noqa: E402
from wine_session import MAIN_WINDOW_FRAME, Session, log, require_tools  # noqa: E402

# Status pane 3 inside the main window's frame (left, top, right, bottom;
# inclusive), clear of the size grip.
PANE3 = (600, 519, 636, 541)
# The speed the terminal applies first when it connects (its default line),
# and another one the test puts on the line beforehand.
TERMINAL_SPEED = termios.B1000000
OTHER_SPEED = termios.B38400


class Failed(Exception):
    pass


def check(condition, what):
    log(("PASS  " if condition else "FAIL  ") + what)
    if not condition:
        raise Failed(what)


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


def pane3(session):
    """The pixels of status pane 3."""
    shot = session.screenshot()
    _, _, left, top = MAIN_WINDOW_FRAME
    x0, y0, x1, y1 = PANE3
    return [shot.pixel(left + x, top + y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)]


def set_speed(device, speed):
    attributes = termios.tcgetattr(device.slave)
    attributes[4] = attributes[5] = speed
    termios.tcsetattr(device.slave, termios.TCSANOW, attributes)


def line_speed(device):
    return termios.tcgetattr(device.master)[5]


def boxes_open(session):
    """Message boxes of the program: windows titled like the main window, besides it."""
    return len(session.windows_titled("通信ターミナル")) - 1


def connect_and_disconnect(session, pipe, disconnected):
    """An ordinary connection: the mark changes, and comes back on disconnecting."""
    session.keys("shift+Prior")
    check(wait_until(lambda: START_STAMP in pipe.drain(), 15), "Shift+Page Up connects")
    time.sleep(0.5)
    check(pane3(session) != disconnected, "pane 3 shows another mark while connected")
    session.keys("shift+Next")
    check(wait_until(lambda: END_STAMP in pipe.drain(), 15), "Shift+Page Down disconnects")
    time.sleep(0.5)
    check(pane3(session) == disconnected, "pane 3 shows the disconnected mark again")


def lose_device_while_connecting(session, pipe):
    device = session.device
    set_speed(device, OTHER_SPEED)
    pipe.fill()
    before = len(pipe.data)
    session.keys("shift+Prior")
    check(wait_until(lambda: line_speed(device) == TERMINAL_SPEED, 15, 0.01),
          "the connect applies its line settings")
    # Past the line settings the connect waits in the start stamp's write,
    # which the full pipe holds up; it cannot have read the device yet.
    time.sleep(0.5)
    session.remove_device()
    time.sleep(1.0)
    check(boxes_open(session) == 0, "while the pipe is full the connect waits, with the device gone, and shows nothing")
    pipe.drain()  # the start stamp's write goes through, and the connect on
    check(wait_until(lambda: boxes_open(session) == 1, 15), "the connect tells the user that the device has gone")
    check(pipe.drain()[before:].startswith(b"\r\n" + START_STAMP), "after writing its start stamp")
    check(wait_until(lambda: END_STAMP in pipe.drain()[before:], 10),
          "the connection is closed while the message is shown")
    session.keys("Return")
    check(wait_until(lambda: boxes_open(session) == 0, 10), "Return closes the message")
    time.sleep(0.5)
    stamps = pipe.drain()[before:]
    check(len(stamps) == 2 * 85 and stamps[85:].startswith(b"\r\n" + END_STAMP),
          "the log holds the start and the end stamp and nothing between")
    return pane3(session)


def run(exe, display, workdir):
    pipe = LogPipe(os.path.join(workdir, "Talvorix.log"))
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixmark")
    try:
        session.start()
        check(wait_until(lambda: len(pipe.drain()) == 86, 10), "the program writes its header into the pipe")
        disconnected = pane3(session)
        connect_and_disconnect(session, pipe, disconnected)
        check(lose_device_while_connecting(session, pipe) == disconnected,
              "after the connect has ended, pane 3 shows the disconnected mark")
    finally:
        session.close()
        pipe.close()


def main():
    # A time-out ends the test with SIGTERM: leave through the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    require_tools()
    exe, display, workdir = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    try:
        run(exe, display, workdir)
    except Failed:
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
