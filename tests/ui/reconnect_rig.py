"""talvorix.exe under Wine with a device that is unplugged and plugged back:
the simulated device on COM5, paced from here, and window-probe.exe watching
the program's status panes, message boxes, handles and threads.

The test (tests/ui/talvorix_reconnect_test.py) and the benchmark
(bench/reconnect/) build on it. Each connection k of a run starts with a boot
banner the device sends the instant the terminal has configured the line:
the cursor home, a coloured background (red for even k, blue for odd), a
text; then a line of data. After it the device holds until released, then
disappears and comes back a second later on a new pseudo-terminal behind the
same link.
"""

import os
import subprocess
import threading
import time

import jis_words as jw
from wine_session import Session, wait_until, wine_loader  # noqa: F401 (wait_until: for the rig's users)

START_STAMP = "通信開始時刻：".encode("cp932")
END_STAMP = "通信終了時刻：".encode("cp932")
HEADER = 86
STAMP = 85
RED = (255, 0, 0)
BLUE = (0, 0, 255)
ABSENCE_MS = 1000
DESKTOP = "talvorixreconnect"

CONNECTED = "[●]"
WAITING = "[○]"
DISCONNECTED = "[×]"
WAITING_TEXT = "通信端子が切断されました。再接続を待っています"
RECONNECTED_TEXT = "再接続しました"


def banner_colour(k):
    return RED if k % 2 == 0 else BLUE


def banner(k):
    background = 41 if k % 2 == 0 else 44
    return (jw.csi([0, 0], "Ｈ") + jw.sgr(background) + jw.text("起動しました%d" % k) + jw.sgr(47) +
            jw.text("\n"))


def data(k):
    return jw.text("データ%d\n" % k)


def connection_bytes(k):
    """Everything the device sends during connection k, in order."""
    return banner(k) + data(k)


def script(connections, absence_ms=ABSENCE_MS):
    """The device's script: `connections` connections, each ended by a replug
    once released; after the last one it holds until stopped."""
    lines = []
    for k in range(connections):
        lines.append("bytes " + connection_bytes(k).hex(" "))
        lines.append("hold")
        if k + 1 < connections:
            lines.append("replug %d" % absence_ms)
    return "\n".join(lines) + "\n"


class Lines:
    """The lines a process prints, collected by a thread, with arrival times."""

    def __init__(self, stream, parse=lambda line: line):
        self.items = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._read, args=(stream, parse), daemon=True)
        self.thread.start()

    def _read(self, stream, parse):
        for raw in stream:
            item = (time.monotonic(), parse(raw.decode("utf-8", "replace").rstrip("\r\n")))
            with self.lock:
                self.items.append(item)

    def snapshot(self):
        with self.lock:
            return list(self.items)

    def wait_for(self, probe, seconds, since=0):
        """The first item from index `since` on for which probe(item) holds, or None."""
        deadline = time.monotonic() + seconds
        while True:
            items = self.snapshot()
            for index in range(since, len(items)):
                if probe(items[index][1]):
                    return index, items[index]
            if time.monotonic() >= deadline:
                return None
            time.sleep(0.02)


class Device:
    """talvorix-simdevice on COM5 of the prefix, talking once the line is configured."""

    def __init__(self, simdevice, prefix, workdir, connections, absence_ms=ABSENCE_MS):
        path = os.path.join(workdir, "device.txt")
        with open(path, "w", encoding="utf-8") as out:
            out.write(script(connections, absence_ms))
        self.link = os.path.join(prefix, "dosdevices", "com5")
        self.record = os.path.join(workdir, "sent.bin")
        self.process = subprocess.Popen([simdevice, "--link", self.link, "--record", self.record,
                                         "--settle", "configured", path],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.lines = Lines(self.process.stdout)
        if not self.lines.wait_for(lambda line: line.startswith("PTY "), 10):
            raise RuntimeError("the simulated device made no pseudo-terminal")

    def release(self):
        """Lets the device go on from its current hold."""
        self.process.stdin.write(b"\n")
        self.process.stdin.flush()

    def events(self, word):
        return [(at, line) for at, line in self.lines.snapshot() if line.startswith(word + " ")]

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def parse_probe(line):
    fields = dict(field.split("=", 1) for field in line.split("\t") if "=" in field)
    for name in ("ms", "boxes", "handles", "threads", "memory"):
        if name in fields:
            fields[name] = int(fields[name])
    return fields


class Probe:
    """window-probe.exe watching the program, on its desktop."""

    def __init__(self, exe, env, seconds):
        self.process = subprocess.Popen([wine_loader(), exe, DESKTOP, str(int(seconds * 1000))], env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.states = Lines(self.process.stdout, parse_probe)

    def wait_for(self, seconds, since=0, **wanted):
        """The first state from index `since` on showing every field of `wanted`."""
        return self.states.wait_for(lambda state: all(state.get(k) == v for k, v in wanted.items()), seconds,
                                    since)

    def count(self):
        return len(self.states.snapshot())

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()


class Rig:
    """The program in its Wine desktop, the device on COM5 and, when asked
    for, the probe."""

    def __init__(self, exe, simdevice, display, workdir, connections, absence_ms=ABSENCE_MS):
        self.session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop=DESKTOP)
        self.device = Device(simdevice, os.environ["WINEPREFIX"], workdir, connections, absence_ms)
        self.probe = None

    def start(self, probe_exe=None, probe_seconds=0):
        self.session.start(with_device=False)
        if probe_exe is None:
            return
        self.probe = Probe(probe_exe, self.session.env, probe_seconds)
        if not self.probe.wait_for(10, pane3=DISCONNECTED):
            raise RuntimeError("the probe does not see the program")

    def configured_times(self):
        """Milliseconds from each return of the device to the line configured."""
        return [int(line.split()[1]) for _, line in self.device.events("CONFIGURED")[1:]]

    def connect(self):
        """Connects by Shift+Page Up (a typed space first gives the terminal window the focus)."""
        self.session.keys("space")
        self.session.keys("shift+Prior")

    def log_bytes(self):
        return self.session.log_bytes()

    def stamps(self, stamp):
        return self.log_bytes().count(stamp)

    def close(self):
        for part in (self.probe, self.device):
            if part is not None:
                part.stop()
        self.session.close()


def sessions_of(log_bytes):
    """The data of every connection in the log: what stands between each start
    stamp and the next end stamp (the words sent here never hold the bytes CR LF)."""
    pieces = []
    at = log_bytes.find(b"\r\n" + START_STAMP)
    while at >= 0:
        begin = at + STAMP
        end = log_bytes.find(b"\r\n" + END_STAMP, begin)
        end = len(log_bytes) if end < 0 else end
        pieces.append(log_bytes[begin:end])
        at = log_bytes.find(b"\r\n" + START_STAMP, end)
    return pieces

