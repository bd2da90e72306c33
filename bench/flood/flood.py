#!/usr/bin/env python3
"""Floods talvorix.exe under Wine with JIS text that scrolls and changes
colour, while the text view is shown, and measures how fast the terminal
interprets and logs it, whether every byte arrived in the log in order, and
how often the terminal window repainted meanwhile.

With --with-trace the same flood is sent a second time in the same run
with 動作 -> トレース記録 checked, and the two throughputs are compared.

With --rfc2217 the terminal reaches the device's pseudo-terminal through
ser2net serving it on 127.0.0.1 as an RFC 2217 port, the address given on
the terminal's command line (which connects at once), instead of the
pseudo-terminal mapped to COM5.

usage: flood.py EXE DISPLAY_NUMBER WORKDIR [MEGABYTES] [--with-trace] [--rfc2217]
"""

import os
import re
import shutil
import signal
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "ui"))

import jis_words as jw  # noqa: E402
from talvorix_session_test import open_menu_item  # noqa: E402
from ser2net_server import Ser2net  # noqa: E402
from wine_session import Device, Session, log, require_tools  # noqa: E402

START_STAMP = "通信開始時刻：".encode("cp932")
TEXT = "通信端末の洪水試験：漢字とかなとカナ、ＡＢＣ１２３、色と背景が行ごとに変わる。"


def flood_stream(size):
    """Lines of 48 characters in changing colours; the screen scrolls from the
    201st line on."""
    lines = []
    total = 0
    index = 0
    while total < size:
        line = jw.sgr(31 + index % 7) + (jw.sgr(40 + index // 10 % 8) if index % 10 == 0 else b"")
        line += jw.text((TEXT * 2)[index % len(TEXT):][:48]) + jw.words(jw.CR, jw.LF)
        lines.append(line)
        total += len(line)
        index += 1
    return b"".join(lines)


def wait_for(probe, seconds, step=0.05):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if probe():
            return True
        time.sleep(step)
    return probe()


def measure(session, device, stream, workdir, trace_path, label):
    """One flood of `stream` from `device` to the connected terminal; True when
    every byte arrived in the log in order. Prints its figures; returns
    (intact, bytes/s)."""
    data_start = len(session.log_bytes())
    trace_start = os.path.getsize(trace_path)

    def send_stream():
        # The pty goes away when the measurement gives up before the end.
        try:
            device.send(stream)
        except (OSError, TimeoutError):
            pass

    sender = threading.Thread(target=send_stream)
    began = time.monotonic()
    sender.start()
    complete = wait_for(lambda: os.path.getsize(os.path.join(workdir, "Talvorix.log")) >= data_start + len(stream),
                        max(60, len(stream) / 100000))
    ended = time.monotonic()
    sender.join(timeout=30)
    trace_end = os.path.getsize(trace_path)
    logged = session.log_bytes()[data_start:]
    seconds = ended - began
    paints = count_terminal_paints(trace_path, trace_start, trace_end)

    log("%s:" % label)
    log("  bytes sent:            %d" % len(stream))
    log("  bytes logged:          %d" % len(logged))
    log("  time:                  %.2f s" % seconds)
    log("  throughput:            %.0f bytes/s" % (len(logged) / seconds))
    log("  terminal repaints:     %d (%.1f per second)" % (paints, paints / seconds))
    intact = complete and logged == stream
    log("  every byte in order:   %s" % ("yes" if intact else "NO"))
    if not intact:
        first_difference = next((i for i, (a, b) in enumerate(zip(logged, stream)) if a != b), min(len(logged), len(stream)))
        log("  first difference at byte %d" % first_difference)
    return intact, len(logged) / seconds


class Rig:
    """The terminal under Wine and the flooding device: a pseudo-terminal mapped
    to COM5 and connected by Shift+Page Up, or (network) the same pseudo-terminal
    served by ser2net, whose address the terminal is started with."""

    def __init__(self, exe, display, workdir, network):
        self.server = None
        self.own_device = Device() if network else None
        arguments = []
        if network:
            self.server = Ser2net(self.own_device.slave_path)
            arguments = [self.server.url()]
        self.trace_path = os.path.join(workdir, "paint-trace.txt")
        self.session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixflood",
                               wine_debug=os.environ.get("FLOOD_WINEDEBUG", "-all,trace+win"),
                               stderr_path=self.trace_path, arguments=arguments)

    def connect(self):
        """Starts the terminal connected; True when its start stamp is in the log."""
        if self.server is None:
            self.session.start()
            self.session.keys("shift+Prior")
        else:
            self.server.start()
            self.session.start(with_device=False)
        return wait_for(lambda: self.session.log_bytes().count(START_STAMP) == 1, 15)

    def device(self):
        return self.own_device or self.session.device

    def close(self):
        self.session.close()
        if self.server is not None:
            self.server.stop()
            self.own_device.close()


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    options = ("--with-trace", "--rfc2217")
    arguments = [a for a in sys.argv[1:] if a not in options]
    with_trace, network = ("--with-trace" in sys.argv[1:]), ("--rfc2217" in sys.argv[1:])
    if len(arguments) < 3:
        print(__doc__)
        return 2
    require_tools()
    exe, display, workdir = arguments[0], int(arguments[1]), arguments[2]
    megabytes = float(arguments[3]) if len(arguments) > 3 else 6.0
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    stream = flood_stream(int(megabytes * 1000000))
    rig = Rig(exe, display, workdir, network)
    session, trace_path = rig.session, rig.trace_path
    try:
        if not rig.connect():
            log("FAIL  the terminal did not connect")
            return 1
        time.sleep(1.0)
        via = "through ser2net (%s)" % rig.server.url() if network else "over the pty mapped to COM5"
        intact, plain = measure(session, rig.device(), stream, workdir, trace_path, "trace off, " + via)
        if not with_trace:
            return 0 if intact else 1
        open_menu_item(session, 0, 3)  # 動作 -> トレース記録
        if not wait_for(lambda: os.path.exists(os.path.join(workdir, "Talvorix.trace")), 10):
            log("FAIL  the trace was not started")
            return 1
        time.sleep(1.0)
        traced_intact, traced = measure(session, rig.device(), stream, workdir, trace_path,
                                        "trace on (Talvorix.trace), " + via)
        log("trace file:            %d bytes" % os.path.getsize(os.path.join(workdir, "Talvorix.trace")))
        log("throughput with the trace: %.0f %% of it without" % (100.0 * traced / plain))
        return 0 if intact and traced_intact else 1
    finally:
        rig.close()


def count_terminal_paints(path, start, end):
    """BeginPaint traces of the terminal window: the most frequent paint box
    of a window larger than 100 x 100 pixels other than the 1024 x 768 desktop."""
    with open(path, "rb") as trace:
        trace.seek(start)
        text = trace.read(end - start).decode("latin-1")
    boxes = re.findall(r"BeginPaint hdc = \S+ box = \(\((-?\d+),(-?\d+)\)-\((-?\d+),(-?\d+)\)\)", text)
    sizes = [(int(r) - int(l), int(b) - int(t)) for l, t, r, b in boxes]
    candidates = [size for size in sizes if size[0] > 100 and size[1] > 100 and size != (1024, 768)]
    if not candidates:
        return 0
    terminal = max(set(candidates), key=candidates.count)
    return candidates.count(terminal)


if __name__ == "__main__":
    sys.exit(main())
