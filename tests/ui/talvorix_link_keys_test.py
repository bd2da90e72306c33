#!/usr/bin/env python3
"""Keys and local echo of talvorix.exe under Wine, one
short session per case, against a device on a pseudo-terminal mapped to COM5.

usage: talvorix_link_keys_test.py CASE EXE DISPLAY_NUMBER WORKDIR
CASE: shift-release or echo-escape.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import jis_words as jw  # noqa: E402
from talvorix_session_test import START_STAMP, open_menu_item, stamps, wait_until  # noqa: E402
from wine_session import check, run_session_case  # noqa: E402

A_REPORT = bytes.fromhex("00 00 1D 00 61 23 41 04")
ESCAPE_REPORT = bytes.fromhex("00 00 00 00 1B 00 1B 29")
RED = (255, 0, 0)
# Where the settings dialog's ﾛｰｶﾙ ｴｺｰ box and OK button are inside the virtual
# desktop (keys typed into the dialog can lose their releases under Wine).
LOCAL_ECHO_BOX = (421, 242)
SETTINGS_OK = (447, 345)



def connect(session):
    session.keys("shift+Prior")
    check(wait_until(lambda: stamps(session, START_STAMP) == 1, 15), "Shift+Page Up connects")
    session.device.pump(0.5)
    session.device.take()


def reports_for(session, key):
    """The key reports sent for one key: one or more, as the key may repeat
    when its release reaches the program late."""
    session.keys(key)
    session.device.pump(1.5)
    data = session.device.take()
    return [data[at:at + 8] for at in range(0, len(data), 8)]


def expect_reports(session, key, report, what):
    reports = reports_for(session, key)
    check(reports and all(one == report for one in reports),
          "%s (got %s)" % (what, " | ".join(one.hex(" ").upper() for one in reports)))


def boxes_open(session):
    """Message boxes of the program: windows titled like the main window, besides it."""
    return len(session.windows_titled("通信ターミナル")) - 1


def case_shift_release(session):
    """The Shift of the connect accelerator is released on the main window."""
    connect(session)
    expect_reports(session, "a", A_REPORT, "the first a after connecting goes out without Shift")
    expect_reports(session, "a", A_REPORT, "so does the second")


def case_echo_escape(session):
    """Local echo of Esc neither waits on the device nor takes its data."""
    open_menu_item(session, 2, 0)  # 設定 -> 通信設定
    check(wait_until(lambda: session.find_window("通信ターミナル設定"), 10), "the settings dialog opens")
    session.click(*LOCAL_ECHO_BOX)
    session.click(*SETTINGS_OK)
    check(wait_until(lambda: not session.find_window("通信ターミナル設定"), 10), "the dialog closes")
    connect(session)
    device = session.device
    session.keys("Escape")
    check(device.wait_for(ESCAPE_REPORT, 1.5) and device.received == ESCAPE_REPORT,
          "the device gets the whole report at once (got %s)" % device.received.hex(" ").upper())
    device.send(jw.sgr(41) + jw.text("ＡＢＣＤ"))
    time.sleep(1.5)
    check(boxes_open(session) == 0, "no failure message")
    check(session.screenshot().box_of(RED) is not None, "the device's next text is shown")


CASES = {
    "shift-release": case_shift_release,
    "echo-escape": case_echo_escape,
}


if __name__ == "__main__":
    sys.exit(run_session_case(CASES, __doc__))
