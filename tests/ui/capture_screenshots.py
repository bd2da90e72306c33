#!/usr/bin/env python3
"""Plays the demonstration of tools/simdevice/demo.scenario into talvorix.exe
under Wine and saves the three views as PNG pictures of the main window (the
pictures in docs/).

usage: capture_screenshots.py EXE SIMDEVICE DISPLAY_NUMBER WORKDIR OUTPUT_DIR
"""

import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine_session import Session, log, require_tools  # noqa: E402

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SCENARIO = os.path.join(ROOT, "tools", "simdevice", "demo.scenario")
# Menu bar pop-up 表示 and its items ダンプ, ＪＩＳ文表示, 画像表示.
VIEW_MENU = (243, 125)
VIEW_ITEMS = {"dump": 147, "text": 167, "graphic": 187}


def show(session, view):
    session.click(*VIEW_MENU)
    time.sleep(0.7)
    session.click(VIEW_MENU[0] + 30, VIEW_ITEMS[view])
    time.sleep(1.0)
    session.focus()


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 6:
        print(__doc__)
        return 2
    require_tools()
    exe, simdevice, display, workdir, output = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(output, exist_ok=True)
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixdocs")
    com5 = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "com5")
    if os.path.lexists(com5):
        os.unlink(com5)
    device = subprocess.Popen([simdevice, "--link", com5, SCENARIO], stdout=subprocess.DEVNULL)
    try:
        session.start(with_device=False)
        session.keys("space")
        session.keys("shift+Prior")
        # The demonstration draws, switches to the graphic view, and comes back.
        time.sleep(12)
        session.keys("Z", "e", "n", "k", "a", "k", "u", delay_ms=150)
        time.sleep(2)
        session.screenshot(os.path.join(output, "talvorix-text.png"))
        show(session, "graphic")
        session.screenshot(os.path.join(output, "talvorix-graphic.png"))
        show(session, "dump")
        session.screenshot(os.path.join(output, "talvorix-dump.png"))
        show(session, "text")
        log("saved the three views in %s" % output)
    finally:
        session.close()
        device.terminate()
        device.wait(timeout=10)
    return 0


if __name__ == "__main__":
    sys.exit(main())
