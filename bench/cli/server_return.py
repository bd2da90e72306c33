"""How soon talvorix-cli --reconnect is back after ser2net returns.

The simulated device sends its banner on every open; ser2net serves it on
127.0.0.1 as an RFC 2217 port and is stopped and started again CYCLES times.
Each time, from the moment ser2net listens again to the tool saying the port
is back (the connection open, the purge acknowledged, the line settings sent).
The tool tries every 100 ms, so the figure is that wait plus one connect.

usage: server_return.py CLI SIMDEVICE WORKDIR CYCLES
"""
import os
import queue
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "ui"))

from ser2net_server import Ser2net  # noqa: E402

cli, simdevice, work, cycles = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])


def stop(process):
    process.terminate()
    process.wait()


def lines_of(stream, into):
    for line in stream:
        into.put((time.monotonic(), line.decode(errors="replace")))


def await_line(lines, part, limit=10):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        try:
            stamp, line = lines.get(timeout=0.1)
        except queue.Empty:
            continue
        if part in line:
            return stamp
    raise SystemExit("server_return: the tool never said '%s'" % part)


tty = os.path.join(work, "return-tty")
scenario = os.path.join(work, "return.scenario")
script = os.path.join(work, "return.script")
with open(scenario, "w") as f:
    f.write("repeat %d\nwait-open\nline 準備完了\nwait-close\nend\n" % (cycles + 1))
with open(script, "w") as f:
    f.write("wait 600000\n")
device = subprocess.Popen([simdevice, "--link", tty, "--settle", "0", scenario], stdout=subprocess.DEVNULL)
while not os.path.islink(tty):
    time.sleep(0.01)
server = Ser2net(tty)
server.start()
tool = subprocess.Popen([cli, "--port", server.url(), "--reconnect", script], stderr=subprocess.PIPE)
lines = queue.Queue()
threading.Thread(target=lines_of, args=(tool.stderr, lines), daemon=True).start()
times = []
try:
    time.sleep(0.5)
    for _ in range(cycles):
        server.stop()
        await_line(lines, "waiting for it to come back")
        time.sleep(0.3)
        back = server.start()
        times.append((await_line(lines, "is back") - back) * 1000)
finally:
    stop(tool)
    server.stop()
    stop(device)
times.sort()
print("talvorix-cli back after ser2net returns, %d returns: min %.0f ms, median %.0f ms, max %.0f ms"
      % (len(times), times[0], times[len(times) // 2], times[-1]))
