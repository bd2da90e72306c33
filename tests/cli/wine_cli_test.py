#!/usr/bin/env python3
"""talvorix-cli.exe under Wine against the simulated device, beside the Linux tool.

usage: wine_cli_test.py CASE CLI_EXE SIMDEVICE NATIVE_CLI DISPLAY

  pass      the same device output is taken in by talvorix-cli.exe on COM5 (the
            port it takes when none is named) and by the Linux talvorix-cli on a
            pseudo-terminal, with the same script: both end with exit code 0,
            print the same screen, write the same communication log once the
            time texts of its header and stamps are masked, and the same
            picture of the text screen (drawn by GDI on the window's canvas
            here, through FreeType there).
  fail      an expectation that is not met: exit code 1, with the line, the
            screen and the last bytes received on standard error.
  stop      Ctrl+C while a line runs: exit code 1, "stopped by signal 2", the
            log ends with its end stamp.
  no-port   a port that does not exist: exit code 2 with the system's reason;
            a name that is no port of the window's list: exit code 2 with the
            usage.

The Wine prefix and loader come from WINEPREFIX and TALVORIX_WINE. Every
process it starts (Xvfb, the devices, the tools) it also ends.
"""
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

SCENARIO = """line 通信ターミナル　試験
csi 255;0;0色
line 赤い文字
csi 0;0;0色
line 受信の終わり
"""
SCRIPT = """expect 受信の終わり within 10000
wait 300
expect-row 1 赤い文字
screen
picture text.png
"""
TIME_TEXT = re.compile(rb"[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4}")


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class Rig:
    def __init__(self, exe, simdevice, native, display, workdir):
        self.exe, self.simdevice, self.native = exe, simdevice, native
        self.display, self.workdir = display, workdir
        self.prefix = os.environ["WINEPREFIX"]
        self.processes = []

    def path(self, *names):
        return os.path.join(self.workdir, *names)

    def start_display(self):
        self.processes.append(subprocess.Popen(["Xvfb", self.display, "-screen", "0", "640x480x24"],
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(0.7)

    def start_device(self, link):
        with open(self.path("device.txt"), "w", encoding="utf-8") as f:
            f.write(SCENARIO)
        self.processes.append(subprocess.Popen([self.simdevice, "--link", link, "--settle", "150",
                                                self.path("device.txt")],
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        deadline = time.time() + 5
        while not os.path.islink(link) and time.time() < deadline:
            time.sleep(0.02)
        check(os.path.islink(link), "the simulated device made no link at " + link)

    def stop_devices(self):
        for process in self.processes[1:]:
            stop(process)
        del self.processes[1:]

    def run(self, command, folder, script=SCRIPT, during=None):
        """Runs a tool in `folder` with the script, calling during(process) while
        it runs; its exit code, output and errors. Output goes to files: Wine's
        server may inherit them and outlive the tool."""
        os.makedirs(self.path(folder), exist_ok=True)
        with open(self.path(folder, "test.script"), "w", encoding="utf-8") as f:
            f.write(script)
        env = dict(os.environ, DISPLAY=self.display, WINEDEBUG="-all")
        with open(self.path(folder, "out"), "wb") as out, open(self.path(folder, "err"), "wb") as err:
            process = subprocess.Popen(command + ["test.script"], cwd=self.path(folder), env=env,
                                       stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            try:
                if during is not None:
                    during(process)
                code = process.wait(timeout=90)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise Failure("%s did not end within 90 s" % command[0])
        texts = [read(self.path(folder, name)).decode("utf-8", "replace").replace("\r\n", "\n")
                 for name in ("out", "err")]
        print("%s: exit %d\n--- out\n%s--- err\n%s" % (" ".join(command[1:]), code, texts[0], texts[1]))
        return code, texts[0], texts[1]

    def run_exe(self, options, folder="windows", script=SCRIPT, during=None):
        return self.run([os.environ["TALVORIX_WINE"], self.exe] + options, folder, script, during)

    def stop(self):
        for process in reversed(self.processes):
            stop(process)


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def png_size(path):
    data = read(path)
    check(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", path + " is a PNG file")
    return struct.unpack(">II", data[16:24])


def pixels(path):
    """The RGB rows of a PNG file written by the tools (8-bit RGB, every row
    with filter type 0)."""
    data = read(path)
    width, height = png_size(path)
    packed, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            packed += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(packed)
    stride = width * 3 + 1
    check(all(raw[row * stride] == 0 for row in range(height)), "rows of filter type 0")
    return [raw[row * stride + 1:(row + 1) * stride] for row in range(height)]


def masked(log):
    return TIME_TEXT.sub(b"#" * 24, log)


def case_pass(rig):
    com5 = os.path.join(rig.prefix, "dosdevices", "com5")
    rig.start_device(com5)
    code, out, _ = rig.run_exe(["--log", "Talvorix.log"])
    rig.stop_devices()
    check(code == 0, "talvorix-cli.exe succeeds on COM5, the port it takes by default")
    rig.start_device(rig.path("tty"))
    native_code, native_out, _ = rig.run([rig.native, "--port", rig.path("tty"), "--log", "Talvorix.log"], "linux")
    check(native_code == 0, "talvorix-cli succeeds on the pseudo-terminal")
    check("  1|赤い文字\n" in out, "the screen is printed in UTF-8")
    check(out == native_out, "both print the same screen")
    windows_log, linux_log = read(rig.path("windows", "Talvorix.log")), read(rig.path("linux", "Talvorix.log"))
    check(len(TIME_TEXT.findall(windows_log)) == 3, "a header, a start and an end stamp")
    check(masked(windows_log) == masked(linux_log), "the same log but for its time texts")
    size = png_size(rig.path("windows", "text.png"))
    check(size == png_size(rig.path("linux", "text.png")), "pictures of the same size: %r" % (size,))
    windows_rows, linux_rows = pixels(rig.path("windows", "text.png")), pixels(rig.path("linux", "text.png"))
    differ = sum(a != b for wrow, lrow in zip(windows_rows, linux_rows)
                 for a, b in zip(zip(*[iter(wrow)] * 3), zip(*[iter(lrow)] * 3)))
    print("pixels that differ between the GDI picture and the FreeType one: %d of %d" % (differ, size[0] * size[1]))
    check(any(b"\xff\x00\x00" in row for row in windows_rows), "the red text is in the picture")
    # Regular glyphs are the same pixels in the window's font on both (bold
    # ones would differ by their edges).
    check(differ == 0, "the picture is the one the Linux tool makes")


def case_fail(rig):
    rig.start_device(rig.path("tty"))
    os.symlink(rig.path("tty"), os.path.join(rig.prefix, "dosdevices", "com14"))
    try:
        code, out, err = rig.run_exe(["--port", "com14"], script="expect 来ない文字 within 1500\nscreen\n")
    finally:
        os.unlink(os.path.join(rig.prefix, "dosdevices", "com14"))
    check(code == 1, "an expectation not met ends with exit code 1")
    check("line 1: expect 来ない文字 within 1500: expected" in err, "the line is named")
    check("screen:\n  0|通信ターミナル　試験\n  1|赤い文字\n  2|受信の終わり\n" in err, "the screen is printed")
    check("last bytes received" in err, "the last bytes are dumped")
    check(out == "", "the lines after the failed one do not run")


def case_stop(rig):
    """Ctrl+C (Wine makes SIGINT the console's Ctrl+C event) in the middle of a
    line: the line fails, the port is closed and the log gets its end stamp."""
    log = rig.path("windows", "Talvorix.log")

    def interrupt(process):
        deadline = time.time() + 30
        while len(TIME_TEXT.findall(read(log) if os.path.exists(log) else b"")) < 2 and time.time() < deadline:
            time.sleep(0.1)
        time.sleep(1)
        process.send_signal(signal.SIGINT)

    rig.start_device(os.path.join(rig.prefix, "dosdevices", "com5"))
    code, _, err = rig.run_exe(["--log", "Talvorix.log"], script="wait 60000\n", during=interrupt)
    check(code == 1, "a stopped run ends with exit code 1")
    check("line 1: wait 60000: stopped by signal 2" in err, "the line that ran is stopped by signal 2")
    stamps = TIME_TEXT.findall(read(log))
    check(len(stamps) == 3 and read(log).endswith(b"\r\n"), "the log ends with the end stamp")


def case_no_port(rig):
    check(not os.path.exists(os.path.join(rig.prefix, "dosdevices", "com19")), "COM19 is free")
    code, out, err = rig.run_exe(["--port", "COM19"])
    check(code == 2, "a port that cannot be opened ends with exit code 2")
    check(re.search(r"cannot open \\\\\.\\COM19: error \d+", err) is not None, "the reason is told: %r" % err)
    code, out, err = rig.run_exe(["--port", "/dev/ttyS0"], "wrong")
    check(code == 2 and "--port /dev/ttyS0: not a port of the window's list" in err and "usage:" in err,
          "a name that is no port of the window's list is a wrong command line")


CASES = {"pass": case_pass, "fail": case_fail, "stop": case_stop, "no-port": case_no_port}


def main():
    if len(sys.argv) != 6 or sys.argv[1] not in CASES:
        print(__doc__, file=sys.stderr)
        return 2
    case, exe, simdevice, native, display = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="cli-wine-") as workdir:
        rig = Rig(exe, simdevice, native, display, workdir)
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
