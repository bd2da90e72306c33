#!/usr/bin/env python3
"""End-to-end test of talvorix.exe under Wine: a device on a pseudo-terminal
mapped to COM5, keys typed with xdotool into a Wine virtual desktop, the
screen checked in screenshots and the communication log read from disk.

usage: talvorix_session_test.py EXE DISPLAY_NUMBER WORKDIR [SCREENSHOT_DIR]
"""

import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import jis_words as jw  # noqa: E402
from wine_session import Session, log, require_tools, wait_until  # noqa: E402

START_STAMP = "通信開始時刻：".encode("cp932")
END_STAMP = "通信終了時刻：".encode("cp932")

RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLUE = (0, 0, 255)
MAGENTA = (255, 0, 255)

KEY_REPORTS = [
    (["a"], "00 00 1D 00 61 23 41 04"),
    (["shift+a"], "22 00 1D 00 41 23 41 04"),
    (["Up"], "00 00 3A 00 FF FF 26 52"),
    (["KP_5"], "00 00 47 00 35 23 65 5D"),
]


class Checks:
    def __init__(self):
        self.failures = []

    def check(self, condition, what):
        log(("PASS  " if condition else "FAIL  ") + what)
        if not condition:
            self.failures.append(what)
        return condition


def stamps(session, stamp):
    return session.log_bytes().count(stamp)


# Where the menu bar's pop-ups and their items are inside the virtual desktop:
# the main window's client area starts at (192, 134) with the prefix's fonts.
MENU_BAR_Y = 125
POPUP_X = [208, 243, 277, 317]
FIRST_ITEM_Y = 147
ITEM_STEP = 20


def open_menu_item(session, popup, item):
    """Chooses item `item` of pop-up `popup` with the mouse (keyboard menu
    navigation under Wine loses keys when the focus moves)."""
    session.click(POPUP_X[popup], MENU_BAR_Y)
    time.sleep(0.7)
    session.click(POPUP_X[popup] + 30, FIRST_ITEM_Y + ITEM_STEP * item)
    time.sleep(0.3)
    session.focus()


def show_coloured_text(device):
    """Row 0: ten red cells; row 1: five green cells; row 2: blue text."""
    device.send(jw.csi([0, 0], "Ｈ") + jw.sgr(41) + jw.text("ＡＢＣＤＥＦＧＨＩＪ") + jw.text("\n"))
    device.send(jw.sgr(42) + jw.text("ＫＬＭＮＯ") + jw.text("\n"))
    # SGR 0 would take the font of the font dialog, none yet: undo each style instead.
    device.send(jw.sgr(47) + jw.sgr(34, 1) + jw.text("青い太字のテキスト") + jw.sgr(22, 30) + jw.text("\n"))


def draw_graphic(device):
    """A magenta horizontal line of 40 points by CSI 点, then a short point-plot run."""
    device.send(jw.csi([255, 0, 255], "色"))
    for x in range(100, 140):
        device.send(jw.csi([x, 60], "点"))
    device.send(jw.esc("点"))
    acknowledged = device.wait_for(b"\x06\x00", 10)
    for y in range(70, 90):
        device.send(jw.plot_line(120, y))
    device.send(jw.words(jw.EOT))
    return acknowledged and device.wait_for(b"\x06\x00\x06\x00", 10)


def colour_runs(shot, colour, y, left, right):
    """The (start, end) pixel runs of a colour along one row."""
    runs = []
    for x in range(left, right + 1):
        if shot.pixel(x, y) == colour:
            if runs and runs[-1][1] == x - 1:
                runs[-1] = (runs[-1][0], x)
            else:
                runs.append((x, x))
    return runs


def text_view_cells(shot):
    """The red and green blocks of show_coloured_text, as found on screen (the
    green one searched only under the red one: the icon has green too)."""
    red = shot.box_of(RED)
    if red is None:
        return None, None
    return red, shot.box_of(GREEN, (max(0, red[0] - 2), red[3] + 1, shot.width - 1, min(shot.height - 1, red[3] + 80)))


def run(exe, display, workdir, shots):
    checks = Checks()
    session = Session(exe, os.environ["WINEPREFIX"], display, workdir)
    try:
        session.start()
        device = session.device
        checks.check(session.running(), "the program starts and shows its main window")
        header = session.log_bytes()
        checks.check(header.startswith(b"\r\n") and len(header) == 86, "the log starts with its 86-byte header")

        # A typed character gives the keyboard focus to the terminal window
        # (nothing is sent while disconnected). Only then do the key-ups of
        # Shift reach it: key-ups sent to the main window are not forwarded,
        # and Shift would stay held in the key reports.
        session.keys("space")
        # Connect by accelerator.
        session.keys("shift+Prior")
        checks.check(wait_until(lambda: stamps(session, START_STAMP) == 1, 15),
                     "Shift+Page Up connects: the start stamp is in the log")
        time.sleep(0.5)

        # Text and colours at known cells.
        show_coloured_text(device)
        time.sleep(1.5)
        shot = session.screenshot(os.path.join(shots, "talvorix-text.png") if shots else None)
        red, green = text_view_cells(shot)
        if checks.check(red is not None and green is not None, "red and green cells are drawn"):
            checks.check(green[0] == red[0] and green[1] == red[3] + 1, "the green row starts right below the red one")
            # Along the top pixel row of each cell row no glyph covers the background.
            red_runs = colour_runs(shot, RED, red[1], red[0], red[2])
            green_runs = colour_runs(shot, GREEN, green[1], red[0], red[2])
            separate = len(red_runs) == 10 and green_runs == red_runs[:5]
            joined = len(red_runs) == 1 and len(green_runs) == 1 and green[2] < red[2]
            checks.check(separate or joined,
                         "the five green characters lie under the first five red ones (runs %s / %s)" % (
                             green_runs, red_runs))
            cell_height = red[3] - red[1] + 1
            blue_row = (red[0], green[3] + 1, red[2], green[3] + cell_height)
            checks.check(shot.count_of(BLUE, blue_row) > 20, "the third row holds blue text")
            terminal_origin = (red[0], red[1])
        else:
            terminal_origin = None

        # CSI 面 switches the view; the graphic plane shows what was plotted.
        checks.check(draw_graphic(device), "point-plot mode answers ACK at entry and at EOT")
        device.send(jw.csi([2], "面"))
        time.sleep(1.5)
        shot = session.screenshot(os.path.join(shots, "talvorix-graphic.png") if shots else None)
        magenta = shot.box_of(MAGENTA)
        checks.check(shot.box_of(RED) is None, "CSI ２面 hides the text view")
        if checks.check(magenta is not None, "CSI ２面 shows the graphic view with the plotted points"):
            checks.check(magenta[2] - magenta[0] == 39 and magenta[3] - magenta[1] == 29,
                         "the points cover 40 x 30 pixels (CSI 点 line and point-plot column)")
            if terminal_origin:
                checks.check((magenta[0] - terminal_origin[0], magenta[1] - terminal_origin[1]) == (100, 60),
                             "the graphic plane is drawn at the terminal window's origin")
        device.send(jw.csi([0], "面"))
        time.sleep(1.0)
        checks.check(session.screenshot().box_of(RED) is not None, "CSI ０面 shows the text view again")

        # Keys reach the device as key reports.
        device.pump(0.3)
        device.take()
        for keys, expected in KEY_REPORTS:
            session.keys(*keys)
            report = bytes.fromhex(expected)
            got = device.wait_for(report, 5)
            checks.check(got, "%s reaches the device as %s (got %s)" % (
                "+".join(keys), expected, device.received.hex(" ").upper()))
            device.take()

        # Disconnect by accelerator: end stamp.
        session.keys("shift+Next")
        checks.check(wait_until(lambda: stamps(session, END_STAMP) == 1, 10),
                     "Shift+Page Down disconnects: the end stamp is in the log")
        log_after = session.log_bytes()
        checks.check(log_after.endswith(b"\r\n") and log_after.rfind(END_STAMP) > log_after.rfind(START_STAMP),
                     "the end stamp is the last line of the log")

        # Connect by menu: 動作 -> 接続.
        open_menu_item(session, 0, 0)
        checks.check(wait_until(lambda: stamps(session, START_STAMP) == 2, 15),
                     "動作 -> 接続 connects again: a second start stamp")
        time.sleep(0.5)

        # The dump view shows the bytes received since this connection began.
        payload = jw.text("ダンプの試験データ") + jw.words(0x0041, 0x0042)  # 22 bytes: one full line and a partial one
        device.send(payload)
        time.sleep(1.0)
        open_menu_item(session, 1, 0)  # 表示 -> ダンプ
        time.sleep(1.5)
        shot = session.screenshot(os.path.join(shots, "talvorix-dump.png") if shots else None)
        log_now = session.log_bytes()
        checks.check(log_now.endswith(payload), "the received bytes are appended to the log unchanged")
        if terminal_origin:
            lines = dark_text_lines(shot, terminal_origin)
            checks.check(lines == 2, "the dump view shows 22 received bytes as two lines (found %d)" % lines)
        open_menu_item(session, 1, 1)  # 表示 -> ＪＩＳ文表示
        time.sleep(1.0)

        # Quitting asks first; Cancel keeps the program connected.
        session.keys("alt+F4")
        question = wait_until(lambda: session.find_window("通信端末"), 10)
        checks.check(bool(question), "Alt+F4 asks 終了しますか? in a box titled 通信端末")
        session.keys("Escape")
        time.sleep(1.0)
        checks.check(session.running(), "Cancel keeps the program running")
        before = len(session.log_bytes())
        device.send(jw.text("まだ接続中"))
        checks.check(wait_until(lambda: len(session.log_bytes()) == before + 10, 10),
                     "after Cancel the connection still receives and logs data")

        # Quitting for real while connected writes the end stamp.
        # Wait for the new box, not the one Cancel closed: under load it can
        # take a while to appear, and Return typed before it would be lost.
        session.keys("alt+F4")
        def new_question():
            box = session.find_window("通信端末")
            return box if box and box != question else None
        checks.check(bool(wait_until(new_question, 10)), "Alt+F4 asks again")
        session.keys("Return")
        checks.check(session.wait_ended(20), "OK ends the program")
        final = session.log_bytes()
        checks.check(final.count(END_STAMP) == 2 and final.rfind(END_STAMP) > final.rfind(START_STAMP),
                     "ending while connected writes the end stamp")
    finally:
        session.close()
    return checks


def dark_text_lines(shot, origin):
    """Counts the bands of rows holding text pixels (darker than the white
    background; the glyphs are antialiased) below the terminal
    window's origin, in its left 500 pixels."""
    left, top = origin
    bands = 0
    inside = False
    for y in range(top, min(top + 300, shot.height)):
        dark = any(sum(shot.pixel(x, y)) < 600 for x in range(left, min(left + 500, shot.width)))
        if dark and not inside:
            bands += 1
        inside = dark
    return bands


def main():
    # A time-out ends the test with SIGTERM: leave through the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    require_tools()
    exe, display, workdir = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    shots = sys.argv[4] if len(sys.argv) > 4 else None
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    if shots:
        os.makedirs(shots, exist_ok=True)
    checks = run(exe, display, workdir, shots)
    if checks.failures:
        log("%d check(s) failed" % len(checks.failures))
        return 1
    log("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
