#!/usr/bin/env python3
"""talvorix.exe under Wine while the terminal awaits words from the device: a
CSI sequence the device holds open, and point-plot mode waiting for its next
line. The window stays the user's: it repaints, its menu opens, keys typed in
point-plot mode follow the ACK that answers EOT, and Shift+Page Down
disconnects at once, with the end stamp in the log and no message.

usage: talvorix_awaiting_test.py CASE EXE DISPLAY_NUMBER WORKDIR
CASE: held-csi or plot-wait.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import jis_words as jw  # noqa: E402
from talvorix_link_keys_test import A_REPORT, boxes_open, connect  # noqa: E402
from talvorix_session_test import END_STAMP, open_menu_item, stamps, wait_until  # noqa: E402
from wine_session import check, log, run_session_case  # noqa: E402

RED = (255, 0, 0)
ACK = bytes.fromhex("06 00")
# What "at once" means for the disconnect: from the key going to the display
# server to the end stamp in the log file.
DISCONNECT_LIMIT_S = 0.2


def red_text_shown(session):
    return session.screenshot().box_of(RED) is not None


def show_red_text(session):
    session.device.send(jw.sgr(41) + jw.text("ＡＢ"))
    check(wait_until(lambda: red_text_shown(session), 5), "the device's red text is shown")


def views_follow_the_menu(session, what):
    """The menu opens and the window repaints: the dump view has no red cells,
    the text view has them again."""
    open_menu_item(session, 1, 0)  # 表示 -> ダンプ
    check(wait_until(lambda: not red_text_shown(session), 5), "%s: the dump view is painted" % what)
    open_menu_item(session, 1, 1)  # 表示 -> ＪＩＳ文表示
    check(wait_until(lambda: red_text_shown(session), 5), "%s: the text view is painted again" % what)


def disconnect_at_once(session, what):
    started = time.monotonic()
    session.keys("shift+Next", delay_ms=20)
    check(wait_until(lambda: stamps(session, END_STAMP) == 1, 5, step=0.005),
          "%s: Shift+Page Down disconnects, the end stamp is in the log" % what)
    took = time.monotonic() - started
    log("the end stamp came %.0f ms after the key" % (took * 1000))
    check(took <= DISCONNECT_LIMIT_S, "%s: within %d ms (%.0f ms)" % (what, DISCONNECT_LIMIT_S * 1000, took * 1000))


def no_message_later(session, seconds, what):
    """What was awaited ends without a message, also after its own bound."""
    time.sleep(seconds)
    check(boxes_open(session) == 0, "%s: no message box" % what)


def case_held_csi(session):
    connect(session)
    show_red_text(session)
    session.device.send(jw.words(jw.CSI) + jw.text("３"))
    time.sleep(0.5)
    views_follow_the_menu(session, "CSI held open")
    disconnect_at_once(session, "CSI held open")
    no_message_later(session, 6, "CSI held open")


def case_plot_wait(session):
    connect(session)
    show_red_text(session)
    device = session.device
    device.send(jw.esc("点"))
    check(device.wait_for(ACK, 5), "ESC 点 is answered with ACK")
    device.take()
    session.keys("a")
    device.pump(1.0)
    check(device.take() == b"", "a key typed in point-plot mode is held")
    views_follow_the_menu(session, "point-plot mode waiting")
    device.send(jw.plot_line(1, 2) + jw.words(jw.EOT))
    check(device.wait_for(ACK + A_REPORT, 5) and device.received == ACK + A_REPORT,
          "the key follows the ACK of EOT (got %s)" % device.received.hex(" ").upper())
    device.take()
    device.send(jw.esc("点"))
    check(device.wait_for(ACK, 5), "a second ESC 点 is answered")
    time.sleep(0.5)
    disconnect_at_once(session, "point-plot mode waiting")
    no_message_later(session, 1, "point-plot mode waiting")


CASES = {
    "held-csi": case_held_csi,
    "plot-wait": case_plot_wait,
}


if __name__ == "__main__":
    sys.exit(run_session_case(CASES, __doc__))
