#!/usr/bin/env python3
"""Plays the demonstration of simdevice/demo.scenario into talvorix.exe
under Wine on a display of its own, saves a picture of the main window in each
of the three views (PREFIX + text.png, graphic.png, dump.png), and prints their
paths, what the device sent and what the terminal answered.

usage: demo_session.py [--prefix PREFIX] [--stay] EXE SIMDEVICE DISPLAY_NUMBER WORKDIR OUTPUT_DIR

WORKDIR receives the communication log. With --stay the terminal keeps running
afterwards, for a VNC viewer, until SIGINT or SIGTERM. tools/run-demo.sh uses
it where no display is set; the pictures in docs/ are made with
--prefix talvorix-.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "ui"))

from wine_session import Session, log, require_tools  # noqa: E402

SCENARIO = os.path.join(ROOT, "simdevice", "demo.scenario")
START_STAMP = "通信開始時刻：".encode("cp932")
END_STAMP = "通信終了時刻：".encode("cp932")
# Menu bar pop-up 表示 and its items ダンプ, ＪＩＳ文表示, 画像表示.
VIEW_MENU = (243, 125)
VIEW_ITEMS = {"dump": 147, "text": 167, "graphic": 187}
# The demonstration's longest pause is 3 s: quiet for longer means it is done.
QUIET_SECONDS = 3.5
TYPED = ["t", "a", "l", "v", "o", "r", "i", "x"]


def show(session, view):
    session.click(*VIEW_MENU)
    time.sleep(0.7)
    session.click(VIEW_MENU[0] + 30, VIEW_ITEMS[view])
    time.sleep(1.0)
    session.focus()


def received(session):
    """The bytes logged since the last start stamp (up to its end stamp)."""
    data = session.log_bytes()
    start = data.rfind(START_STAMP)
    if start < 0:
        return b""
    data = data[data.index(b"\r\n", start) + 2:]
    end = data.rfind(b"\r\n" + END_STAMP)
    return data[:end] if end >= 0 else data


def wait_for_demonstration(session, limit=90):
    """Waits until the device has sent something and then been quiet for
    QUIET_SECONDS; False when that does not happen within `limit` seconds."""
    deadline = time.monotonic() + limit
    size, changed = 0, time.monotonic()
    while time.monotonic() < deadline:
        now = len(received(session))
        if now != size:
            size, changed = now, time.monotonic()
        elif size > 0 and time.monotonic() - changed >= QUIET_SECONDS:
            return True
        time.sleep(0.2)
    return False


def wait_for_growth(session, count, limit=10):
    """Waits until `count` more bytes have been received."""
    target = len(received(session)) + count
    deadline = time.monotonic() + limit
    while len(received(session)) < target and time.monotonic() < deadline:
        time.sleep(0.1)


def report(paths, device_bytes, record_path):
    log("Pictures of the three views:")
    for path in paths:
        log("  " + path)
    log("The device sent %d bytes (all in the communication log); the first ones: %s"
        % (len(device_bytes), device_bytes[:24].hex(" ").upper()))
    with open(record_path, "rb") as record:
        sent = record.read()
    log("The terminal sent the device %d bytes (point-plot answers, then a key report for each typed key);"
        " the last key report: %s" % (len(sent), sent[-8:].hex(" ").upper()))


def play(session, output, prefix, record_path):
    session.start(with_device=False)
    session.keys("shift+Prior")
    if not wait_for_demonstration(session):
        raise RuntimeError("the demonstration did not play within 90 s")
    # Typed keys come back from the device as text.
    # One key at a time: each call gives the desktop the X focus first, which
    # the terminal's own focus changes can take away in the middle of a list.
    for key in TYPED:
        session.keys(key)
    wait_for_growth(session, 2 * len(TYPED))
    time.sleep(1.0)
    paths = []
    for view in ("text", "graphic", "dump"):
        if view != "text":
            show(session, view)
        paths.append(os.path.join(output, prefix + view + ".png"))
        session.screenshot(paths[-1])
    show(session, "text")
    report(paths, received(session), record_path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", default="")
    parser.add_argument("--stay", action="store_true")
    for name in ("exe", "simdevice", "display", "workdir", "output"):
        parser.add_argument(name)
    args = parser.parse_args()
    require_tools()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    if os.path.isdir(args.workdir):
        shutil.rmtree(args.workdir)
    os.makedirs(args.output, exist_ok=True)
    session = Session(args.exe, os.environ["WINEPREFIX"], int(args.display), args.workdir, desktop="talvorixdemo")
    com5 = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "com5")
    record_path = os.path.join(args.workdir, "device-received.bin")
    os.makedirs(args.workdir, exist_ok=True)
    device = subprocess.Popen([args.simdevice, "--link", com5, "--record", record_path, SCENARIO],
                              stdout=subprocess.DEVNULL)
    try:
        play(session, args.output, args.prefix, record_path)
        if args.stay:
            log("The terminal keeps running on display %s until Ctrl+C. Watch and type with VNC:" % session.display)
            log("  x11vnc -display %s -localhost -nopw -forever   (then a VNC viewer on localhost:5900)"
                % session.display)
            while session.running():
                time.sleep(0.5)
    except KeyboardInterrupt:
        pass
    finally:
        session.close()
        device.terminate()
        device.wait(timeout=10)
    return 0


if __name__ == "__main__":
    sys.exit(main())
