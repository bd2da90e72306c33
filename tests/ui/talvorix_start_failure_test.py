#!/usr/bin/env python3
"""talvorix.exe under Wine with a communication log that cannot be created
(a directory stands where "Talvorix.log" would be): the program tells the
user, makes no main window and ends when the message is closed.

usage: talvorix_start_failure_test.py EXE DISPLAY_NUMBER WORKDIR
"""

import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine_session import Session, log, require_tools  # noqa: E402


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    require_tools()
    exe, display, workdir = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(os.path.join(workdir, "Talvorix.log"))
    failures = []
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir, desktop="talvorixnolog")
    try:
        # The message box carries the program's caption "通信ターミナル".
        session.start(with_device=False)
        shot = session.screenshot()
        # The main window would show its white 645 x 500 client area at (192, 134).
        white = shot.count_of((255, 255, 255), (300, 300, 700, 560))
        if white > 100000:
            failures.append("a main window was made although the log could not be opened")
        # The box sits in the middle of the desktop and has no owner window to
        # lend it the focus: click into it, then close it with Return, typed
        # through XTEST with the pointer left on the box.
        session.click(512, 372)
        time.sleep(0.5)
        session.xdotool("key", "Return")
        if not session.wait_ended(20):
            failures.append("the program did not end after the message")
        time.sleep(0.5)
        if not os.path.isdir(os.path.join(workdir, "Talvorix.log")):
            failures.append("the directory in the log's place was changed")
    finally:
        session.close()
    for failure in failures:
        log("FAIL  " + failure)
    log("all checks passed" if not failures else "%d check(s) failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
