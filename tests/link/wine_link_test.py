#!/usr/bin/env python3
"""The serial link and the communication log under Wine, against the simulated device.

Usage: wine_link_test.py CASE DRIVER SIMDEVICE DISPLAY
Runs link-driver.exe (the real link code) in a fresh directory, with the
simulated device on a COM port of the Wine prefix given by WINEPREFIX, and
checks what the driver reports, the log file's bytes and what the device got.
Every process it starts (Xvfb, the device, the driver) it also ends.
"""
import os
import pty
import re
import signal
import subprocess
import sys
import tempfile
import termios
import time
import tty

HEADER = 86
STAMP = 85
START_LABEL = bytes.fromhex("92ca904d8a4a8e6e8e9e8d8f8146")  # 通信開始時刻：
END_LABEL = bytes.fromhex("92ca904d8f4997b98e9e8d8f8146")  # 通信終了時刻：
RULE = b"\x81\xe4"


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class Rig:
    def __init__(self, driver, simdevice, display, workdir):
        self.driver = driver
        self.simdevice = simdevice
        self.display = display
        self.workdir = workdir
        self.prefix = os.environ["WINEPREFIX"]
        self.processes = []

    def start_display(self):
        xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "640x480x24"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(xvfb)
        time.sleep(0.7)

    def port_link(self, port):
        return os.path.join(self.prefix, "dosdevices", "com%d" % port)

    def start_device(self, port, script):
        path = os.path.join(self.workdir, "device.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write(script)
        link = self.port_link(port)
        device = subprocess.Popen([self.simdevice, "--link", link, "--record",
                                   os.path.join(self.workdir, "sent.bin"), "--settle", "150", path],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.processes.append(device)
        deadline = time.time() + 5
        while not os.path.islink(link) and time.time() < deadline:
            time.sleep(0.02)
        check(os.path.islink(link), "the simulated device made no COM link")
        return device

    def start_driver(self, *commands):
        env = dict(os.environ, DISPLAY=self.display, WINEDEBUG="-all")
        return subprocess.Popen([os.environ["TALVORIX_WINE"], self.driver] + [str(c) for c in commands],
                                cwd=self.workdir, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                start_new_session=True)

    def finish_driver(self, process, started, limit, seen=()):
        try:
            out, _ = process.communicate(timeout=limit)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.communicate()
            raise Failure("the driver did not end within %d s" % limit)
        lines = list(seen) + out.decode("utf-8", "replace").splitlines()
        print("driver (%.1f s):" % (time.time() - started))
        for line in lines:
            print("  " + line)
        return lines

    def run_driver(self, *commands, limit=60):
        started = time.time()
        return self.finish_driver(self.start_driver(*commands), started, limit)

    def run_driver_with(self, commands, after, action, limit=60):
        """Runs the driver and, once it has printed a line starting with
        `after`, calls action() while the driver goes on."""
        started = time.time()
        process = self.start_driver(*commands)
        seen = []
        while not (seen and seen[-1].startswith(after)):
            line = process.stdout.readline()
            if not line:
                break
            seen.append(line.decode("utf-8", "replace").rstrip("\r\n"))
        if seen and seen[-1].startswith(after):
            action()
        return self.finish_driver(process, started, limit, seen)

    def log(self):
        with open(os.path.join(self.workdir, "Talvorix.log"), "rb") as f:
            return f.read()

    def sent(self):
        path = os.path.join(self.workdir, "sent.bin")
        return open(path, "rb").read() if os.path.exists(path) else b""

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


def words(text):
    """JIS words of full-width text, little-endian."""
    out = b""
    for ch in text:
        sjis = ch.encode("cp932")
        lead, trail = sjis[0], sjis[1]
        # Shift-JIS to JIS X 0208, the arithmetic the terminal uses.
        row = (lead - (0x70 if lead < 0xA0 else 0xB0)) * 2 - (1 if trail < 0x9F else 0)
        cell = trail - (0x1F if trail < 0x80 else (0x20 if trail < 0x9F else 0x7E))
        out += bytes([cell, row])
    return out


def line_with(lines, prefix):
    found = [line for line in lines if line.startswith(prefix)]
    check(found, "no line starting with %r" % prefix)
    return found[-1]


def number_after(line, key):
    match = re.search(r"\b%s (-?\d+)" % key, line)
    check(match is not None, "no %s in %r" % (key, line))
    return int(match.group(1))


def check_header(log):
    check(log[:2] == b"\r\n", "the log starts with CR LF")
    check(log[2:30] == RULE * 14 and log[56:84] == RULE * 14, "the header's rules")
    check(log[84:86] == b"\r\n", "the header ends with CR LF")


def check_stamp(log, at, label):
    piece = log[at:at + STAMP]
    check(len(piece) == STAMP, "a stamp of 85 bytes at %d" % at)
    check(piece[:2] == b"\r\n" and piece[2:16] == label, "stamp label at %d" % at)
    check(piece[16:38] == b" " + RULE * 10 + b" ", "stamp rule at %d" % at)
    check(re.fullmatch(rb"[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4}", piece[38:62]) is not None,
          "stamp time text at %d: %r" % (at, piece[38:62]))
    check(piece[62:] == b" " + RULE * 10 + b"\r\n", "stamp end at %d" % at)


def case_session(rig):
    """Connect, receive, transmit (with and without local echo), disconnect."""
    rig.start_device(11, "line ＡＢ\nwait 4\nline Ｃ\n")
    lines = rig.run_driver("port", 11, "log", "open", "until", 8, 5000, "send", "41", "send", "42",
                           "echo", 1, "send", "43", "send", "23", "until", 16, 5000, "report", "close", "report")
    check(line_with(lines, "open ").startswith("open 1"), "the connection opens")
    data = words("ＡＢ") + b"\r\x00\n\x00"
    more = words("Ｃ") + b"\r\x00\n\x00"
    report = line_with(lines, "interpreted ")
    check(number_after(report, "interpreted") == 14, "8 + 6 bytes received, the echo not among them")
    check(report.split(" first ")[1] == (data + more).hex(), "received bytes in order")
    # The echoed Ｃ was shown where the cursor stood, before the device's Ｃ.
    check(line_with(lines, "row1 ").startswith("row1 82628262"), "the echo is on the screen")
    check("status 1 送信したバイトデータ：[41]" in lines and "status 1 送信したバイトデータ：[42]" in lines,
          "pane 1 shows each byte sent without echo")
    check("status 1 送信したバイトデータ：[43]" not in lines, "pane 1 untouched with local echo")
    check("status 0 受信文字数：8文字数" in lines, "pane 0 shows the block size")
    events = [line for line in lines if line.startswith("event ")]
    check(events == ["event connected", "event closed"], "the window is told of the connect and the close: %r" % events)
    check(line_with(lines, "close ").startswith("close 1"), "the end stamp was written")
    check(rig.sent() == b"\x41\x42\x43\x23", "the device got every byte sent: %r" % rig.sent())
    log = rig.log()
    check_header(log)
    check_stamp(log, HEADER, START_LABEL)
    check(number_after(line_with(lines, "log open"), "start") == HEADER + STAMP, "connectionDataStart")
    check(log[HEADER + STAMP:HEADER + STAMP + 14] == data + more, "the log holds the received bytes only")
    check_stamp(log, HEADER + STAMP + 14, END_LABEL)
    check(len(log) == HEADER + 2 * STAMP + 14, "nothing else in the log")


def case_cycles(rig):
    """Two connections: two start and two end stamps, the data start after the second."""
    rig.start_device(12, "line Ａ\nwait-close\nline Ｂ\n")
    lines = rig.run_driver("port", 12, "log", "open", "until", 4, 5000, "close", "open", "until", 8, 5000,
                           "close", "report")
    check([line[:6] for line in lines if line.startswith(("open", "close"))] ==
          ["open 1", "close ", "open 1", "close "], "two cycles")
    log = rig.log()
    first = HEADER + STAMP
    check_stamp(log, HEADER, START_LABEL)
    check(log[first:first + 4] == words("Ａ") + b"\r\x00", "first connection's data")
    # The device sends CR LF; LF may come in the first or the second connection.
    second_start = log.find(b"\r\n" + START_LABEL, first)
    check(second_start > 0, "a second start stamp")
    check_stamp(log, second_start - STAMP, END_LABEL)
    check_stamp(log, second_start, START_LABEL)
    check(number_after(line_with(lines, "log open"), "start") == second_start + STAMP,
          "connectionDataStart just after the second start stamp")
    check_stamp(log, len(log) - STAMP, END_LABEL)
    check(log.count(START_LABEL) == 2 and log.count(END_LABEL) == 2, "two of each stamp")


def case_odd(rig):
    """101 waiting bytes are read as 100; the odd byte comes later with its partner."""
    rig.start_device(13, "flood 101 0\nwait 1\nbytes 99\n")
    lines = rig.run_driver("port", 13, "log", "open", "sleep", 1500, "pump", 500, "report", "read", 2,
                           "send", "01", "until", 102, 5000, "report", "close")
    first, second = [line for line in lines if line.startswith("interpreted")]
    check(" blocks 100 " in first, "the first read takes 100 of the 101 bytes: " + first)
    check("read 0" in lines, "a lone byte is not read")
    check(" blocks 100,2 " in second, "the odd byte comes with its partner: " + second)
    log = rig.log()
    data = log[HEADER + STAMP:-STAMP]
    pattern = words("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ") * 2
    check(data == pattern[:101] + b"\x99", "the log has the 102 bytes in order")


def case_fail_open(rig):
    """A port without a device: nothing in the log, the window told nothing."""
    link = rig.port_link(19)
    if os.path.islink(link):
        os.unlink(link)
    lines = rig.run_driver("port", 19, "log", "open", "report", "send", "41")
    check(line_with(lines, "open ").startswith("open 0"), "opening fails")
    check(not any(line.startswith("event ") for line in lines), "no event")
    check("send 0" in lines, "nothing is sent while disconnected")
    log = rig.log()
    check(len(log) == HEADER, "only the header in the log")
    check_header(log)


def case_flood_close(rig):
    """Closing while the device floods at the top rate returns within a bound; nothing is lost."""
    rig.start_device(14, "flood 30000000 300000\n")
    lines = rig.run_driver("port", 14, "log", "open", "pump", 2000, "report", "close", "report")
    close = line_with(lines, "close ")
    check(close.startswith("close 1"), "the end stamp was written")
    check(number_after(close, "ms") < 3000, "closing took " + close)
    received = number_after(line_with(lines, "interpreted"), "interpreted")
    check(received > 20000, "data flowed during the flood (%d bytes)" % received)
    # Two seconds of flood: repainted at least 20 times a second, but not after every block.
    paints = number_after(line_with(lines, "paints"), "paints")
    blocks = number_after(line_with(lines, "paints"), "count")
    check(paints >= 36, "the window repaints during the flood (%d paints)" % paints)
    check(paints < blocks // 4, "repaints are paced, not one per block (%d paints, %d blocks)" % (paints, blocks))
    log = rig.log()
    check_stamp(log, len(log) - STAMP, END_LABEL)
    check(len(log) - HEADER - 2 * STAMP == received, "every interpreted byte is in the log, none more")
    pattern = words("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ")
    data = log[HEADER + STAMP:-STAMP]
    check(data == (pattern * (received // len(pattern) + 1))[:received], "the log's data in arrival order")


def case_vanish(rig):
    """The device disappears mid-session: closed as by the disconnect command, the user told."""
    rig.start_device(15, "line ＡＢ\npause 500\nvanish\n")
    lines = rig.run_driver("port", 15, "log", "open", "until", 8, 5000, "closed", 5000, "send", "41", "report",
                           limit=30)
    check("message 通信ターミナル|通信端子が切断されました！！" in lines, "the user is told")
    check("command disconnect" in lines, "the disconnect command ran")
    check(number_after(line_with(lines, "connected "), "connected") == 0, "the connection is closed")
    closed = [line for line in lines if line.startswith("connected 0 ms")]
    check(closed and number_after(closed[0], "ms") < 3000, "closed soon after the device went")
    check("send 0" in lines, "nothing is sent afterwards")
    check("event closed" in lines, "the window is told of the close")
    log = rig.log()
    check_stamp(log, len(log) - STAMP, END_LABEL)
    check(log.count(END_LABEL) == 1, "one end stamp")


def case_bad_log(rig):
    """A log that cannot be written: told once, closed, reception and closing go on."""
    rig.start_device(16, "line ＡＢ\nwait 1\nline ＣＤ\nwait 1\nline ＥＦ\n")
    lines = rig.run_driver("port", 16, "log", "open", "until", 8, 5000, "breaklog", "send", "01",
                           "until", 16, 5000, "send", "02", "until", 24, 5000, "report", "close", limit=40)
    messages = [line for line in lines if line.startswith("message")]
    check(messages == ["message 通信ターミナル|ログファイルに書き込む事が出来ない！！"], "told once: %r" % messages)
    check(number_after(line_with(lines, "interpreted"), "interpreted") == 24, "reception goes on without a log")
    check(number_after(line_with(lines, "log open"), "open") == 0, "the log is closed")
    check(line_with(lines, "close ").startswith("close 1"), "closing finishes")
    log = rig.log()
    check(log[HEADER + STAMP:] == words("ＡＢ") + b"\r\x00\n\x00", "the log stops before the failed block")


def case_busy_close(rig):
    """A flood faster than the terminal can interpret: the disconnect command still gets through."""
    rig.start_device(17, "flood 30000000 300000\n")
    lines = rig.run_driver("port", 17, "log", "slow", 1, "open", "disconnect-after", 1000, "closed", 10000, "report")
    check("command disconnect" in lines, "the disconnect command ran during the flood")
    closed = line_with(lines, "connected 0 ms")
    check(number_after(closed, "ms") < 2500, "closed within a bound: " + closed)
    received = number_after(line_with(lines, "interpreted"), "interpreted")
    paints = number_after(line_with(lines, "paints"), "paints")
    check(paints >= 20, "the busy pump still repaints 20 times a second (%d paints)" % paints)
    log = rig.log()
    check_stamp(log, len(log) - STAMP, END_LABEL)
    check(len(log) - HEADER - 2 * STAMP == received, "every interpreted byte is in the log")


def case_line_settings(rig):
    """Line settings reach the open device, also when changed while connected."""
    device = rig.start_device(18, "wait 1\nsettings\nwait 1\nsettings\n")
    lines = rig.run_driver("port", 18, "log", "open", "send", "00", "pump", 500,
                           "line", 3000000, 1, 2, 6, "send", "00", "pump", 500, "close")
    check("apply 1" in lines, "ApplyLineSettings succeeds on the open device")
    rig.stop()
    settings = [line for line in device.stdout.read().decode().splitlines() if line.startswith("SETTINGS")]
    check(settings == ["SETTINGS speed 1000000 cstopb 0 crtscts 0 ixon 0 ixoff 0 parodd 0",
                       "SETTINGS speed 3000000 cstopb 1 crtscts 1 ixon 1 ixoff 1 parodd 1"],
          "the device saw %r" % settings)


def case_idle(rig):
    """An idle line, and one with a lone byte waiting for its partner, keep the terminal quiet."""
    rig.start_device(10, "line ＡＢ\npause 3000\nbytes 41\npause 3000\nbytes 23\n")
    lines = rig.run_driver("port", 10, "log", "open", "until", 8, 5000, "pump", 2500, "report", "pump", 2500,
                           "report", "until", 10, 5000, "report", "close")
    idle, lone, paired = [number_after(line, "notifications") for line in lines if line.startswith("paints")]
    check(idle <= 20, "an idle line wakes the terminal rarely (%d notifications in 2.5 s)" % idle)
    check(lone - idle <= 80, "a lone byte does not drive the pump round (%d notifications in 2.5 s)" % (lone - idle))
    check(" blocks 8,2 " in line_with(lines, "interpreted 10"), "the lone byte came with its partner")


class PtyDevice:
    """The device side of a COM port made by the test itself: a raw
    pseudo-terminal whose terminal side the test holds open too, so that it
    can set that side's line discipline and flush its input."""

    def __init__(self, rig, port):
        self.master, self.slave = pty.openpty()
        tty.setraw(self.master)
        tty.setraw(self.slave)
        self.link = rig.port_link(port)
        if os.path.lexists(self.link):
            os.unlink(self.link)
        os.symlink(os.ttyname(self.slave), self.link)

    def send(self, data):
        os.write(self.master, data)

    def minimum_read(self, count):
        """VMIN of the terminal side: with it, the side reports itself readable
        only once this many bytes wait (a non-blocking read still takes fewer)."""
        attributes = termios.tcgetattr(self.slave)
        attributes[6][termios.VMIN] = count
        termios.tcsetattr(self.slave, termios.TCSANOW, attributes)

    def flush_input(self):
        termios.tcflush(self.slave, termios.TCIFLUSH)

    def close(self):
        os.unlink(self.link)
        os.close(self.master)
        os.close(self.slave)


def case_cancelled_read(rig):
    """A read still pending after its second is cancelled; the bytes it had
    transferred by then are kept, interpreted and logged.

    With the terminal's own time-outs a read never waits (Windows) or ends at
    its first byte (Wine), so the driver gives the device time-outs that make a
    read wait for its whole count. The device reports 10 bytes; while the
    read of those 10 waits (the terminal side claims no readiness below 255
    bytes), another opener of the line flushes them, 4 new bytes come, and the
    side becomes ready: the read takes the 4 and waits for 6 more that never
    come, until it is cancelled."""
    device = PtyDevice(rig, 20)
    newer = words("ＡＢ")

    def starve_the_read():
        device.minimum_read(255)
        device.send(bytes(range(0x30, 0x3A)))
        # The watcher notices within milliseconds and the pump starts its read;
        # the read is cancelled a second after it started.
        time.sleep(0.3)
        device.flush_input()
        device.send(newer)
        time.sleep(0.05)
        device.minimum_read(1)

    try:
        lines = rig.run_driver_with(["port", 20, "log", "open", "read-timeouts", 0, 0, 0, "until", 4, 5000,
                                     "report", "close"], "read-timeouts", starve_the_read, limit=30)
    finally:
        device.close()
    check("read-timeouts 1" in lines, "the driver sets the read time-outs")
    check(line_with(lines, "interpreted ").startswith("interpreted 4 blocks 4 first " + newer.hex()),
          "the 4 bytes the cancelled read had transferred are interpreted")
    check(number_after(line_with(lines, "until "), "ms") >= 900,
          "they came when the read was cancelled, not before: " + line_with(lines, "until "))
    log = rig.log()
    check(log[HEADER + STAMP:-STAMP] == newer, "the log holds them")


CASES = {
    "idle": case_idle,
    "busy-close": case_busy_close,
    "line-settings": case_line_settings,
    "session": case_session,
    "cycles": case_cycles,
    "odd": case_odd,
    "fail-open": case_fail_open,
    "flood-close": case_flood_close,
    "vanish": case_vanish,
    "bad-log": case_bad_log,
    "cancelled-read": case_cancelled_read,
}


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in CASES:
        print(__doc__)
        return 64
    case, driver, simdevice, display = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="talvorix-link-") as workdir:
        rig = Rig(driver, simdevice, display, workdir)
        try:
            rig.start_display()
            CASES[case](rig)
        except Failure as failure:
            print("FAILED: %s" % failure)
            return 1
        finally:
            rig.stop()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
