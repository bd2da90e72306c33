#!/usr/bin/env python3
"""Automatic reconnect of talvorix.exe under Wine: the simulated device on
COM5 disappears, like a USB adapter pulled out, and comes back on a new
pseudo-terminal, sending a boot banner the instant the terminal configures
the line.

usage: talvorix_reconnect_test.py CASE EXE PROBE SIMDEVICE DISPLAY_NUMBER WORKDIR
CASE:
  cycles  twenty losses and returns a second apart, automatic reconnect on (as
          at start): no message box, the banner on the screen and after a new
          start stamp in the log, every byte in order, the last cycle as good
          as the first (handles, threads, memory)
  off     the item unchecked: the message box of a lost device, no reconnect
  stop    the connect command while waiting is a silent attempt; the disconnect
          command ends the wait; quitting while waiting asks only whether to
          quit and writes no extra stamp
  port    another port chosen in the line settings dialog while waiting ends
          the wait for the old one
"""

import os
import shutil
import signal
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from reconnect_rig import (CONNECTED, DISCONNECTED, END_STAMP, HEADER, RECONNECTED_TEXT, STAMP,  # noqa: E402
                           START_STAMP, WAITING, WAITING_TEXT, Rig, banner_colour, connection_bytes, sessions_of,
                           wait_until)
from talvorix_session_test import open_menu_item  # noqa: E402
from wine_session import Failed, check, log, require_tools  # noqa: E402

CYCLES = 20
LOST_TEXT = "通信端子が切断されました！！"
QUIT_TEXT = "終了しますか?"
# What repeated loss and return may leave behind, at most: the working set
# wanders by a few hundred kilobytes under Wine.
MEMORY_GROWTH_KB = 2048



def connect_first(rig):
    rig.connect()
    check(wait_until(lambda: rig.log_bytes().endswith(connection_bytes(0)), 15),
          "Shift+Page Up connects; the device's banner and data are logged")


def screen_shows_banner(rig, k):
    shot = rig.session.screenshot()
    return shot.box_of(banner_colour(k)) is not None and shot.box_of(banner_colour(k - 1)) is None


def release_and_wait(rig):
    """Lets the device vanish; the probe state of the wait that follows."""
    since = rig.probe.count()
    rig.device.release()
    waiting = rig.probe.wait_for(10, since, pane3=WAITING, pane1=WAITING_TEXT)
    check(waiting is not None, "the device vanishes: pane 3 %s, pane 1 %s" % (WAITING, WAITING_TEXT))
    return waiting[0]


def no_box_since(rig, since):
    return all(state["boxes"] == 0 for _, state in rig.probe.states.snapshot()[since:])


def cycle(rig, k):
    """Connection k-1 is lost and connection k comes; the probe state once it has."""
    since = release_and_wait(rig)
    back = rig.probe.wait_for(10, since, pane3=CONNECTED, pane1=RECONNECTED_TEXT)
    check(back is not None, "cycle %d: back again: pane 3 %s, pane 1 %s" % (k, CONNECTED, RECONNECTED_TEXT))
    check(wait_until(lambda: rig.log_bytes().endswith(connection_bytes(k)), 10),
          "cycle %d: the banner and the data are logged" % k)
    check(wait_until(lambda: screen_shows_banner(rig, k), 5, step=0.3),
          "cycle %d: the banner is on the screen, the previous connection's gone" % k)
    check(no_box_since(rig, since), "cycle %d: no message box" % k)
    return back[1][1]


def quit_program(rig):
    since = rig.probe.count()
    rig.session.keys("alt+F4")
    question = rig.probe.wait_for(10, since, boxes=1)
    check(question is not None and question[1][1]["box"] == QUIT_TEXT, "Alt+F4 asks %s and nothing else" % QUIT_TEXT)
    rig.session.keys("Return")
    check(rig.session.wait_ended(20), "OK ends the program")


def check_log(rig, connections):
    """Header, then start stamp, data, end stamp for every connection, nothing else."""
    log_bytes = rig.log_bytes()
    check(log_bytes.count(START_STAMP) == connections and log_bytes.count(END_STAMP) == connections,
          "%d start and %d end stamps" % (connections, connections))
    expected = [connection_bytes(k) for k in range(connections)]
    check(sessions_of(log_bytes) == expected,
          "every byte in order, each connection's banner right after its start stamp")
    check(len(log_bytes) == HEADER + 2 * STAMP * connections + sum(map(len, expected)),
          "an end stamp after each connection's data and nothing else in the log")


def report_reconnect_times(rig):
    """What the device measured: from its return to the line configured."""
    times = rig.configured_times()
    if times:
        log("return to configured: min %d ms, median %d ms, max %d ms over %d returns" % (
            min(times), statistics.median(times), max(times), len(times)))


def settled(states, name):
    """The least of a figure over a few returns: Wine starts and ends threads
    of its own now and then, which one sample may catch."""
    return min(state[name] for state in states)


def case_cycles(rig):
    connect_first(rig)
    states = [cycle(rig, k) for k in range(1, CYCLES + 1)]
    first, last = states[:3], states[-3:]
    for name in ("handles", "threads", "memory"):
        log("%s after the first three returns: %s; after the last three: %s" % (
            name, [state[name] for state in first], [state[name] for state in last]))
    check(settled(last, "handles") <= settled(first, "handles"), "no more handles after the last returns than the first")
    check(settled(last, "threads") <= settled(first, "threads"), "no more threads after the last returns than the first")
    check(settled(last, "memory") - settled(first, "memory") <= MEMORY_GROWTH_KB, "the working set does not grow")
    report_reconnect_times(rig)
    quit_program(rig)
    check_log(rig, CYCLES + 1)


def case_off(rig):
    open_menu_item(rig.session, 0, 2)  # 動作 -> 自動再接続
    connect_first(rig)
    since = rig.probe.count()
    rig.device.release()
    told = rig.probe.wait_for(10, since, boxes=1, pane3=DISCONNECTED)
    check(told is not None and told[1][1]["box"] == LOST_TEXT,
          "unchecked: the device's loss is told in a box (%s), pane 3 %s" % (LOST_TEXT, DISCONNECTED))
    check(rig.device.lines.wait_for(lambda line: line.startswith("PTY "), 5, since=1) is not None,
          "the device comes back")
    time.sleep(2)
    check(len(rig.device.events("CONFIGURED")) == 1 and rig.stamps(START_STAMP) == 1,
          "no reconnect: the port is not opened again")
    check(all(state["pane3"] != WAITING for _, state in rig.probe.states.snapshot()[since:]), "no waiting mark")
    rig.session.keys("Return")
    check(rig.probe.wait_for(10, since, boxes=0) is not None, "Return closes the box")
    check_log(rig, 1)


def case_stop(rig):
    connect_first(rig)
    since = release_and_wait(rig)
    rig.session.keys("shift+Prior")
    time.sleep(1)
    check(no_box_since(rig, since) and rig.probe.states.snapshot()[-1][1]["pane3"] == WAITING,
          "Shift+Page Up while the device is away is a silent attempt: no box, still waiting")
    rig.session.keys("shift+Next")
    check(rig.probe.wait_for(10, since, pane3=DISCONNECTED, pane1="") is not None,
          "Shift+Page Down while waiting ends the wait: pane 3 %s" % DISCONNECTED)
    check(rig.device.lines.wait_for(lambda line: line.startswith("PTY "), 5, since=1) is not None,
          "the device comes back")
    time.sleep(2)
    check(rig.stamps(START_STAMP) == 1, "the port is not opened again after the wait ended")
    rig.connect()
    check(wait_until(lambda: rig.log_bytes().endswith(connection_bytes(1)), 15), "Shift+Page Up connects again")
    release_and_wait(rig)
    quit_program(rig)
    check_log(rig, 2)


def case_port(rig):
    connect_first(rig)
    since = release_and_wait(rig)
    open_menu_item(rig.session, 2, 0)  # 設定 -> 通信設定
    check(rig.probe.wait_for(10, since, boxes=1) is not None, "the line settings dialog opens while waiting")
    rig.session.keys("alt+p", "Down", "Down", "Return")
    check(rig.probe.wait_for(10, since, boxes=0, pane3=DISCONNECTED) is not None,
          "another port chosen while waiting ends the wait for the old one: pane 3 %s" % DISCONNECTED)
    check(rig.device.lines.wait_for(lambda line: line.startswith("PTY "), 5, since=1) is not None,
          "the device comes back on the old port")
    time.sleep(2)
    check(rig.stamps(START_STAMP) == 1, "the old port is not opened again")


CASES = {
    "cycles": (case_cycles, CYCLES + 1, 1000),
    "off": (case_off, 2, 1000),
    "stop": (case_stop, 3, 3000),
    "port": (case_port, 2, 3000),
}


def main():
    # A time-out ends the test with SIGTERM: leave through the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 7 or sys.argv[1] not in CASES:
        print(__doc__)
        return 2
    require_tools()
    case, exe, probe, simdevice, display, workdir = sys.argv[1:]
    run, connections, absence_ms = CASES[case]
    if os.path.isdir(workdir):
        shutil.rmtree(workdir)
    os.makedirs(workdir)
    rig = Rig(exe, simdevice, int(display), workdir, connections, absence_ms)
    try:
        rig.start(probe, probe_seconds=280)
        run(rig)
    except Failed:
        return 1
    finally:
        rig.close()
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
