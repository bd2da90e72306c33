"""Runs talvorix.exe under Wine on a private Xvfb display, inside a Wine
virtual desktop, with its COM5 mapped to a pseudo-terminal that a test drives.

Everything started here is stopped again by Session.close(): the program,
the desktop, the display and the pty. Only processes started here are ended.
"""

import os
import pty
import select
import shutil
import signal
import subprocess
import sys
import time
import tty


def log(message):
    print(message, flush=True)


# Where the main window's frame lies inside the virtual desktop (width,
# height, left, top): its client area starts at (192, 134).
MAIN_WINDOW_FRAME = (652, 545, 188, 92)
# The terminal window's client area (left, top, width, height) inside the
# virtual desktop: below the tabs, left of the vertical scroll bar, above the
# horizontal one. The text view's cell (0, 0) starts at its origin.
TEXT_VIEW = (196, 159, 620, 429)


class Screenshot:
    """A screenshot of the whole display as RGB pixels."""

    def __init__(self, display, path=None, crop=None):
        ppm = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                             check=True, capture_output=True, timeout=30).stdout
        self.width, self.height, self.pixels = self._parse(ppm)
        if path:
            geometry = ["-crop", "%dx%d+%d+%d" % crop, "+repage"] if crop else []
            subprocess.run(["convert", "ppm:-", *geometry, path], input=ppm, check=True, timeout=30)

    @staticmethod
    def _parse(ppm):
        fields = []
        position = 0
        while len(fields) < 4:
            while ppm[position:position + 1].isspace():
                position += 1
            if ppm[position:position + 1] == b"#":
                position = ppm.index(b"\n", position)
                continue
            end = position
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[position:end])
            position = end
        assert fields[0] == b"P6" and fields[3] == b"255", fields
        return int(fields[1]), int(fields[2]), ppm[position + 1:]

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def box_of(self, colour, area=None):
        """Bounding box (left, top, right, bottom; inclusive) of the pixels of
        exactly this colour inside `area`, or None."""
        left, top, right, bottom = area or (0, 0, self.width - 1, self.height - 1)
        found = None
        wanted = bytes(colour)
        for y in range(top, bottom + 1):
            row = self.pixels[(y * self.width) * 3:(y * self.width + self.width) * 3]
            x = row.find(wanted)
            while x >= 0:
                if x % 3 == 0:
                    px = x // 3
                    if left <= px <= right:
                        if found is None:
                            found = [px, y, px, y]
                        else:
                            found = [min(found[0], px), min(found[1], y), max(found[2], px), max(found[3], y)]
                x = row.find(wanted, x + 1)
        return tuple(found) if found else None

    def count_of(self, colour, area):
        left, top, right, bottom = area
        wanted = tuple(colour)
        return sum(1 for y in range(top, bottom + 1) for x in range(left, right + 1)
                   if self.pixel(x, y) == wanted)


class Device:
    """The device side of COM5: the master of a raw pseudo-terminal."""

    def __init__(self):
        self.master, self.slave = pty.openpty()
        tty.setraw(self.master)
        tty.setraw(self.slave)
        self.slave_path = os.ttyname(self.slave)
        self.received = bytearray()

    def send(self, data):
        view = memoryview(data)
        while view:
            _, writable, _ = select.select([], [self.master], [], 5)
            if not writable:
                raise TimeoutError("the terminal does not read")
            written = os.write(self.master, view[:4096])
            view = view[written:]

    def pump(self, seconds):
        deadline = time.monotonic() + seconds
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return
            readable, _, _ = select.select([self.master], [], [], left)
            if readable:
                try:
                    self.received += os.read(self.master, 65536)
                except OSError:
                    return

    def wait_for(self, data, seconds):
        """Waits until `data` has arrived since the last take(); True then."""
        deadline = time.monotonic() + seconds
        while data not in self.received:
            if time.monotonic() >= deadline:
                return False
            self.pump(min(0.1, deadline - time.monotonic()))
        return True

    def take(self):
        data = bytes(self.received)
        self.received.clear()
        return data

    def close(self):
        """Closes both sides once: the terminal's side of the port then hangs up."""
        for fd in (self.master, self.slave):
            if fd is not None:
                try:
                    os.close(fd)
                except OSError:
                    pass
        self.master = self.slave = None


class Session:
    def __init__(self, exe, prefix, display_number, workdir, desktop="talvorixtest", wine_debug="-all",
                 stderr_path=None, arguments=()):
        self.exe = os.path.abspath(exe)
        self.arguments = list(arguments)  # the program's command line
        self.display = ":%d" % display_number
        self.desktop = desktop
        self.workdir = workdir
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG=wine_debug,
                        DISPLAY=self.display)
        self.stderr_path = stderr_path
        self.env.pop("WAYLAND_DISPLAY", None)
        self.xvfb = None
        self.program = None
        self.device = None
        self.com5 = None
        self.desktop_window = None
        os.makedirs(workdir, exist_ok=True)

    # --- start-up -------------------------------------------------------
    def start(self, with_device=True):
        lock = "/tmp/.X%s-lock" % self.display[1:]
        if os.path.exists(lock):
            raise RuntimeError("display %s is in use" % self.display)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._wait(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env,
                                          capture_output=True).returncode == 0, 20, "Xvfb")
        if with_device:
            self.device = Device()
            self.com5 = os.path.join(self.env["WINEPREFIX"], "dosdevices", "com5")
            if os.path.lexists(self.com5):
                os.unlink(self.com5)
            os.symlink(self.device.slave_path, self.com5)
        stderr = open(self.stderr_path, "wb") if self.stderr_path else subprocess.DEVNULL
        self.program = subprocess.Popen(
            [wine_loader(), "explorer", "/desktop=%s,1024x768" % self.desktop, self.exe, *self.arguments],
            cwd=self.workdir, env=self.env, stdout=subprocess.DEVNULL, stderr=stderr,
            start_new_session=True)
        if self.stderr_path:
            stderr.close()
        self.desktop_window = self._wait(lambda: self.find_window("%s - Wine desktop" % self.desktop), 60,
                                         "the Wine desktop")
        self._wait(lambda: self.find_window("通信ターミナル"), 60, "the main window")
        self.focus()
        time.sleep(1.0)

    def _wait(self, probe, seconds, what):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            result = probe()
            if result:
                return result
            if self.program is not None and self.program.poll() is not None:
                raise RuntimeError("the program ended while waiting for %s" % what)
            time.sleep(0.2)
        raise TimeoutError("no %s after %d s" % (what, seconds))

    def find_window(self, title):
        ids = self.windows_titled(title)
        return ids[0] if ids else None

    def windows_titled(self, title):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                                env=self.env, capture_output=True, text=True, timeout=10)
        return result.stdout.split()

    # --- input ----------------------------------------------------------
    def focus(self):
        # Keys reach the program only while the pointer is over one of its
        # windows: the main window's caption.
        self.xdotool("mousemove", "--window", self.desktop_window, "500", "104")
        self.xdotool("windowfocus", self.desktop_window)

    def keys(self, *names, delay_ms=60):
        self.focus()
        # Through XTEST to the focused window (the desktop, just focused), both
        # press and release. With --window xdotool picks XTEST or a sent event
        # by where the focus is at each event: a key that closes a box moves the
        # focus before its release, which then goes as a sent event the X
        # server never sees, and the key stays down and repeats into the
        # terminal (cancelling the next box as soon as it opens).
        self.xdotool("key", "--delay", str(delay_ms), *names)

    def click(self, x, y):
        self.xdotool("mousemove", "--window", self.desktop_window, str(x), str(y))
        self.xdotool("click", "1")

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, timeout=20)

    def screenshot(self, path=None):
        """The whole display; saved to `path` (if given) as the main window alone."""
        return Screenshot(self.display, path, MAIN_WINDOW_FRAME)

    def running(self):
        return self.program is not None and self.program.poll() is None

    def wait_ended(self, seconds):
        try:
            self.program.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    # --- the log --------------------------------------------------------
    def log_bytes(self):
        path = os.path.join(self.workdir, "Talvorix.log")
        if not os.path.exists(path):
            return b""
        with open(path, "rb") as log_file:
            return log_file.read()

    def remove_device(self):
        """The device disappears, as a USB adapter pulled out: COM5 no longer
        names it and the pseudo-terminal is closed under the program."""
        if os.path.islink(self.com5) and os.readlink(self.com5) == self.device.slave_path:
            os.unlink(self.com5)
        self.device.close()

    # --- teardown -------------------------------------------------------
    def close(self):
        if self.program is not None and self.program.poll() is None:
            try:
                os.killpg(self.program.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                self.program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.program.pid, signal.SIGKILL)
                self.program.wait(timeout=10)
        if self.program is not None:
            # The prefix's server ends with this session: a desktop it still
            # held would take the next session's program over and end that
            # session's launcher at once.
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
            subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        if self.device is not None:
            if os.path.islink(self.com5) and os.readlink(self.com5) == self.device.slave_path:
                os.unlink(self.com5)
            self.device.close()
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()


def wine_loader():
    """The Wine loader for the build under test (tools/wine-prefix.sh sets it)."""
    loader = os.environ.get("TALVORIX_WINE")
    if not loader:
        raise RuntimeError("TALVORIX_WINE is not set: source tools/wine-prefix.sh first")
    return loader


def require_tools():
    missing = [tool for tool in ("Xvfb", "xdotool", "import", "convert") if shutil.which(tool) is None]
    if not os.access(wine_loader(), os.X_OK):
        missing.append(wine_loader())
    if missing:
        raise RuntimeError("missing tools: " + ", ".join(missing))


def wait_until(probe, seconds, step=0.2):
    """Polls `probe` until it is true or `seconds` have passed; its last answer."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if probe():
            return True
        time.sleep(step)
    return probe()


class Failed(Exception):
    """A check of a test failed; it has been logged."""


def check(condition, what):
    """Logs the check; raises Failed when it does not hold, else gives True."""
    log(("PASS  " if condition else "FAIL  ") + what)
    if not condition:
        raise Failed(what)
    return condition


def run_session_case(cases, usage):
    """The main of a test script with one short session per case:
    arguments CASE EXE DISPLAY_NUMBER WORKDIR. A time-out's SIGTERM leaves
    through the clean-up; 2 for wrong arguments, 1 for a failed check."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 5 or sys.argv[1] not in cases:
        print(usage)
        return 2
    require_tools()
    case, exe, display, workdir = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir)
    try:
        session.start()
        cases[case](session)
    except Failed:
        return 1
    finally:
        session.close()
    log("passed")
    return 0
